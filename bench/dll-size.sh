#!/usr/bin/env bash
# Size and imported DLLs of the product, the i686 Orvane.dll, built as the windows-x86
# preset builds it (MinGW-w64 i686, Release) in a directory of its own. Further
# arguments go to CMake's configure step, to measure a variant in another directory.
# Prints a Markdown table.
#   bench/dll-size.sh [BUILD_DIR [CMAKE_ARGS...]]     default: build/bench-x86
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/bench-x86}
[ $# -gt 0 ] && shift
log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log" >&2; return 1; }; }
quiet cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
      -DORV_BUILD_TESTS=OFF "$@"
quiet cmake --build "$dir" -j2 --target orvane
dll=$dir/bin/Orvane.dll
bytes=$(stat -c %s "$dll")
# Section sizes are hexadecimal in objdump's listing.
debug=0
while read -r size; do debug=$((debug + 16#$size)); done < <(
  i686-w64-mingw32-objdump -h "$dll" | awk '$2 ~ /^\.debug/ { print $3 }')
imports=$(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
# The compiler's runtime DLLs, which the product must never need.
runtime=$(grep -iE '^(libgcc|libstdc\+\+|libwinpthread|libssp)' <<<"$imports" || true)
echo "| file | bytes | KiB | of which debug sections | imported DLLs | compiler runtime DLLs | target <= 64 KiB | met |"
echo "|---|---:|---:|---:|---|---|---|---|"
printf '| %s | %d | %.1f | %d | %s | %s | %s | %s |\n' "$dll" "$bytes" \
  "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" "$debug" "$(echo $imports)" \
  "${runtime:-none}" "$([ "$bytes" -le 65536 ] && echo yes || echo NO)" \
  "$([ "$bytes" -le 65536 ] && [ -z "$runtime" ] && echo yes || echo NO)"
