# Memcheck over every native test program: any invalid access, any use of an uninitialised
# value and any leak that is definitely or possibly lost fails the stage. What the RPC
# runtime stand-in still holds at exit (bindings never discarded, as the library documents)
# stays reachable through it and is no error. The allocation test replaces malloc itself:
# nouserintercepts keeps valgrind from taking that over, while glibc's allocator beneath it
# is still watched. ORV_VALGRIND_BUILD names the build (build/native by default).
set -euo pipefail
dir=${ORV_VALGRIND_BUILD:-build/native}
cmake --preset native -B "$dir" >/dev/null
cmake --build "$dir" -j 2
failed=0
for program in "$dir"/bin/orv_*_tests; do
  name=$(basename "$program")
  log=$dir/valgrind-$name.log
  start=$(date +%s)
  status=0
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite,possible --show-leak-kinds=definite,possible \
    --soname-synonyms=somalloc=nouserintercepts --log-file="$log.vg" \
    "$program" >"$log" 2>&1 || status=$?
  if [ $status -ne 0 ] || ! grep -qE '[1-9][0-9]* passed, 0 failed' "$log"; then
    tail -40 "$log"; cat "$log.vg"
    echo "$name: FAILED under valgrind (status $status)"
    failed=1
  else
    echo "$name: $(grep -oE '[0-9]+ passed, 0 failed' "$log"), no memcheck error, $(( $(date +%s) - start )) s"
  fi
done
exit $failed
