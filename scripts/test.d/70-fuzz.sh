# libFuzzer over the configuration path (preset fuzz; clang, ASan and UBSan): a short run
# from the seed corpus in fuzz/corpus and what earlier runs found in build/fuzz/corpus.
# ORV_FUZZ_SECONDS sets the length (60 by default; the README's long run uses 1800). The
# fuzzer stops at the first crash or broken invariant and leaves the input in
# build/fuzz/artifacts.
set -euo pipefail
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target orv_config_fuzz
mkdir -p build/fuzz/corpus build/fuzz/artifacts
log=build/fuzz/last-run.log
status=0
build/fuzz/bin/orv_config_fuzz -max_total_time="${ORV_FUZZ_SECONDS:-60}" -max_len=8192 \
  -dict=fuzz/config.dict -timeout=10 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/artifacts/ build/fuzz/corpus fuzz/corpus >"$log" 2>&1 || status=$?
if [ $status -ne 0 ]; then
  tail -60 "$log"
  echo "fuzz: FAILED (status $status), the input is in build/fuzz/artifacts"
  exit 1
fi
grep -E '^#[0-9]+' "$log" | tail -1
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log"
echo "corpus: $(find build/fuzz/corpus -type f | wc -l) inputs; crashes: 0"
