# The native suite under AddressSanitizer with UndefinedBehaviorSanitizer, then under
# ThreadSanitizer (presets asan and tsan; clang). Errors end a test program before its
# summary line, so ctest fails it; a leak report comes after that line, at exit, so the
# output is searched for any sanitizer report as well.
set -euo pipefail
for preset in asan tsan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  log=build/$preset/sanitized-run.log
  status=0
  ctest --preset "$preset" -V >"$log" 2>&1 || status=$?
  if grep -qE 'ERROR: [A-Za-z]+Sanitizer|WARNING: ThreadSanitizer|runtime error:' "$log"; then
    grep -E -A30 'ERROR: [A-Za-z]+Sanitizer|WARNING: ThreadSanitizer|runtime error:' "$log" | head -200
    echo "$preset: sanitizer report (whole output in $log)"
    exit 1
  fi
  if [ $status -ne 0 ]; then
    grep -E -B2 -A20 '\*\*\*Failed|Failure|FAILED' "$log" | head -200
    echo "$preset: tests failed (whole output in $log)"
    exit 1
  fi
  grep -E '% tests passed|Total Test time' "$log"
done
