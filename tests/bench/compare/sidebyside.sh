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
# Where the code lands matters on some processors: on one seen here about a
# third of all placements of the same core ran every benchmark 1.6 times
# slower. So each side is linked at several placements (code of PLACEMENTS
# sizes put before it) and the best of all is taken for either side.
placements=${PLACEMENTS:-0 192 384 576 768 960}
for side in old new; do
  build=$(cd "$([ $side = old ] && echo "$1" || echo "$2")" && pwd)
  src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
  for pad in $placements; do
    printf 'void spanwright_placement(void) { __asm__ volatile(".skip %d, 0x90"); }\n' $((pad + 1)) >"$tmp/pad.c"
    gcc -c -o "$tmp/pad.o" "$tmp/pad.c"
    g++ -O2 -DNDEBUG -std=c++17 -I"$src/src" -o "$tmp/bench-$side-$pad" "$tmp/pad.o" "$here/../sim_bench.cpp" \
      "$here/../verify_bench.cpp" "$build/libspanwright_core.a" -lbenchmark_main -lbenchmark -lpthread
  done
done
for r in $(seq "$rounds"); do
  for pad in $placements; do
    for side in old new; do
      "$tmp/bench-$side-$pad" --benchmark_filter="$filter" --benchmark_format=json >"$tmp/$side-$r-$pad.json" 2>/dev/null
    done
  done
done
python3 - "$tmp" "$rounds" <<'EOF'
import glob, json, sys
tmp, rounds = sys.argv[1], int(sys.argv[2])
best = {}
for side in ("old", "new"):
    for f in sorted(glob.glob(f"{tmp}/{side}-*.json")):
        for b in json.load(open(f))["benchmarks"]:
            if b.get("error_occurred"):
                print(f"{side} {b['name']}: {b.get('error_message')}")
                continue
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            key = (b["name"], side)
            best[key] = min(best.get(key, float("inf")), b["cpu_time"] * scale)
names = sorted({k[0] for k in best}, key=lambda n: n)
print(f"{'benchmark':32} {'old us':>12} {'new us':>12} {'speed-up':>9}   (best CPU time of {rounds} rounds at each placement)")
for n in names:
    o, w = best.get((n, "old")), best.get((n, "new"))
    if o is None or w is None:
        continue
    print(f"{n:32} {o:12.2f} {w:12.2f} {o / w:9.2f}")
EOF
