#!/usr/bin/env bash
# Runs this checkout's benchmarks against two builds' cores in turns, so
# that both see the same load on a shared machine, and prints each
# benchmark's best CPU time per step (or per candidate) of either:
#   sidebyside.sh OLDBUILD NEWBUILD [rounds] [benchmark filter]
# Each BUILD is a configured and built tree, best a Release one; the
# benchmark sources are compiled against the sources it was configured
# from, so OLDBUILD may be any earlier commit with the same simulation
# interface.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
rounds=${3:-5}
filter=${4:-.}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
for side in old new; do
  build=$(cd "$([ $side = old ] && echo "$1" || echo "$2")" && pwd)
  src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
  g++ -O2 -DNDEBUG -std=c++17 -I"$src/src" -o "$tmp/bench-$side" "$here/../sim_bench.cpp" "$here/../verify_bench.cpp" \
    "$build/libspanwright_core.a" -lbenchmark_main -lbenchmark -lpthread
done
for r in $(seq "$rounds"); do
  for side in old new; do
    "$tmp/bench-$side" --benchmark_filter="$filter" --benchmark_format=json >"$tmp/$side-$r.json" 2>/dev/null
  done
done
python3 - "$tmp" "$rounds" <<'EOF'
import json, sys
tmp, rounds = sys.argv[1], int(sys.argv[2])
best = {}
for side in ("old", "new"):
    for r in range(1, rounds + 1):
        for b in json.load(open(f"{tmp}/{side}-{r}.json"))["benchmarks"]:
            if b.get("error_occurred"):
                print(f"{side} {b['name']}: {b.get('error_message')}")
                continue
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            key = (b["name"], side)
            best[key] = min(best.get(key, float("inf")), b["cpu_time"] * scale)
names = sorted({k[0] for k in best}, key=lambda n: n)
print(f"{'benchmark':32} {'old us':>12} {'new us':>12} {'speed-up':>9}   (best CPU time of {rounds})")
for n in names:
    o, w = best.get((n, "old")), best.get((n, "new"))
    if o is None or w is None:
        continue
    print(f"{n:32} {o:12.2f} {w:12.2f} {o / w:9.2f}")
EOF
