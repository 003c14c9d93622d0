#!/usr/bin/env bash
# Instructions executed by one call of each export against the same client calls made
# directly (and ORV_Prepare against its parts), and by one read of the profile reader
# stand-in as its file grows, counted by callgrind: deterministic, whatever the load.
# Prints two Markdown tables.
#   bench/callgrind.sh [PROBE]      default: build/bench-native/bin/orv_callgrind_probe
set -euo pipefail
probe=${1:-build/bench-native/bin/orv_callgrind_probe}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Symbols bound at load, so that no measured call pays for the dynamic linker.
if ! LD_BIND_NOW=1 valgrind --tool=callgrind --collect-atstart=no \
    --callgrind-out-file="$out/cg" "$probe" >"$out/log" 2>&1; then
  cat "$out/log" >&2
  exit 1
fi
# One dump per measured call, named "<export> <side>" or "profile <bytes>".
i=1
while [ -f "$out/cg.$i" ]; do
  printf '%s %s\n' "$(sed -n 's/^desc: Trigger: Client Request: //p' "$out/cg.$i")" \
                   "$(sed -n 's/^summary: //p' "$out/cg.$i")"
  i=$((i + 1))
done >"$out/counts"

awk '
  $1 != "profile" { count[$1 " " $2] = $3; if (!($1 in seen)) { seen[$1] = 1; order[n++] = $1 } }
  END {
    if (n == 0) { print "callgrind.sh: no measurement found" > "/dev/stderr"; exit 1 }
    print "| export | direct Ir | direct + 192-byte copy Ir | export Ir | extra Ir over the limit |"
    print "|---|---:|---:|---:|---:|"
    for (i = 0; i < n; i++) {
      name = order[i]; direct = count[name " direct"]; via = count[name " export"]
      copy = count[name " copy"]; limit = copy != "" ? copy : direct
      if (direct == "" || via == "") { print "callgrind.sh: no count for " name > "/dev/stderr"; exit 1 }
      printf "| %s | %d | %s | %d | %+d |\n", name, direct, copy != "" ? copy : "-", via, via - limit
    }
  }' "$out/counts"
echo
awk '
  BEGIN { n = 0 }
  $1 == "profile" { bytes[n] = $2; ir[n] = $3; n++ }
  END {
    if (n == 0) { print "callgrind.sh: no profile reads measured" > "/dev/stderr"; exit 1 }
    # Linear work grows 10x per step at most (less while fixed costs still weigh);
    # n log n would grow about 11.5x per step at these sizes, n squared 100x.
    print "| file bytes | stand-in Ir/read | Ir per byte | growth over the previous size (10x bytes) | linear (<= 10.5x) |"
    print "|---:|---:|---:|---:|---|"
    for (i = 0; i < n; i++) {
      growth = i > 0 ? ir[i] / ir[i - 1] : 0
      printf "| %d | %d | %.2f | %s | %s |\n", bytes[i], ir[i], ir[i] / bytes[i],
             (i > 0 ? sprintf("%.2fx", growth) : "-"), (i > 0 ? (growth <= 10.5 ? "yes" : "NO") : "-")
    }
  }' "$out/counts"
