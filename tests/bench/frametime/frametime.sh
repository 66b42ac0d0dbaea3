#!/usr/bin/env bash
# CPU time per frame of the real game drawing a bridge that fills the tables,
# under Xvfb with Mesa's software OpenGL, for one or more builds side by side.
#
#   bash tests/bench/frametime/frametime.sh [-r ROUNDS] [-s SECONDS] [-p DIR] BUILD [BUILD...]
#
# For every round, window size ($FRAMETIME_SIZES, default "800x600 1600x1200")
# and build in turn, the game loads a lattice of about 15,300 beams and a
# preloaded shim (frameshim.c) notes the wall clock and the process CPU time
# (the renderer's threads included) at every buffer swap. Five phases of
# SECONDS each (default 8): the editor at its furthest zoom (distance 256,
# the whole bridge in view) and at the starting zoom of 64 (editor64), the
# test run paused (drawing only) at both (paused, paused64), and the test
# run at normal speed with the train on the bridge, at 256. An F8
# screenshot before the editor's and the test run's phases proves that the
# bridge is on screen; presses are held for a second ($E2E_HOLD), as a busy
# machine's frames can outlast shorter ones.
#
# Prints, per build, size and phase, the frames measured, the median and
# 90th percentile of CPU milliseconds per frame and its 10th percentile (the
# figure least moved by other work on the machine), the median and 90th
# percentile of wall milliseconds; for the running test also the share of
# real time the simulation kept, found by replaying the test run's step
# clock (16 ms a step, at most 3 a frame) over the frames' swap times, and
# the share it would keep if every frame took only its CPU time (a machine
# shared with nothing else). With -p, perf records each phase of each run
# into DIR (perf-BUILDNUMBER-SIZE-ROUND-PHASE.data; read them with perf
# report).
# A world that stands still is copied from the picture the game keeps of
# it (src/render/worldcache.h), so the editor's and the paused phases
# measure that copy; the running phase draws every frame.
# Not a test: the figures depend on the machine.
set -eu
ROUNDS=1
SECONDS_PER_PHASE=8
PERFDIR=
while getopts r:s:p: o; do
  case $o in
    p) PERFDIR=$(mkdir -p "$OPTARG" && cd "$OPTARG" && pwd) ;;
    r) ROUNDS=$OPTARG ;;
    s) SECONDS_PER_PHASE=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n 5p "$0"; exit 2; }
[ -z "$PERFDIR" ] || command -v perf >/dev/null || { echo "no perf"; exit 2; }
HERE=$(cd "$(dirname "$0")" && pwd)
SRC=$(cd "$HERE/../../.." && pwd)
OUT=$(mktemp -d /tmp/frametime.XXXXXX)
trap 'rm -rf "$OUT"' EXIT
cc -O2 -shared -fPIC -o "$OUT/frameshim.so" "$HERE/frameshim.c" -ldl
cc -O2 -o "$OUT/lattice" "$HERE/lattice.c"
"$OUT/lattice" "$OUT/lattice.qzb"

# The scenario for tests/e2e/run.sh; FT_* come from the environment.
cat >"$OUT/frametime.scn" <<'SCN'
mark() { echo "$1 $(date +%s%N)" >>"$FT_RUN/marks"; }
phase() { mark $1; if [ -n "$FT_PERF" ]; then perf record -q -g -p $GAME_PID -o "$FT_PERF-$1.data" -- sleep $FT_SECONDS 2>/dev/null; else wait $FT_SECONDS; fi; mark end; }
rm -rf bridge && mkdir -p bridge/Perf && cp "$FT_BRIDGE" bridge/Perf/lattice.qzb
printf '#!/bin/sh\nexec env LD_PRELOAD=%s FRAMETIME_LOG=%s "%s"\n' "$FT_SHIM" "$FT_RUN/frames" "$GAME" >"$WORK/game.sh"
chmod +x "$WORK/game.sh" && GAME=$WORK/game.sh
snap() { shot $1 || shot $1 || shot $1; }
start $FT_SIZE
key b; click 330 84; move 630 475; wait 3
snap editor
phase editor
wheel up 48; wait 1; phase editor64; wheel down 60; wait 1
key t; wait 2; key p; wait 1
snap test
phase paused
wheel up 48; wait 1; phase paused64; wheel down 60; wait 1
key p; key t; wait 2
phase running
SCN

for round in $(seq "$ROUNDS"); do
  for size in ${FRAMETIME_SIZES:-800x600 1600x1200}; do
    n=0
    for build in "$@"; do
      n=$((n + 1))
      run="$OUT/run-$n-$size-$round"
      mkdir -p "$run"
      FT_RUN=$run FT_PERF=${PERFDIR:+$PERFDIR/perf-$n-$size-$round} FT_SIZE=$size FT_SECONDS=$SECONDS_PER_PHASE FT_SHIM=$OUT/frameshim.so \
        FT_BRIDGE=$OUT/lattice.qzb E2E_HOLD=${E2E_HOLD:-1} \
        bash "$SRC/tests/e2e/run.sh" "$build" "$SRC" "$OUT/frametime.scn" >"$run/log" 2>&1 ||
        { echo "run of $build at $size failed:"; tail -5 "$run/log"; exit 1; }
    done
  done
done

# Per build, size and phase: the frames whose swap falls inside the phase,
# each timed from the swap before it.
printf '%-34s %-9s %-8s %6s %8s %8s %8s %8s %8s %s\n' build size phase frames cpu-med cpu-p90 cpu-p10 wall-med wall-p90 'realtime(wall cpu)'
for size in ${FRAMETIME_SIZES:-800x600 1600x1200}; do
  n=0
  for build in "$@"; do
    n=$((n + 1))
    for phase in editor editor64 paused paused64 running; do
      for run in "$OUT"/run-$n-$size-*; do
        awk -v phase="$phase" 'FNR == NR { if ($1 == phase) s = $2; else if (s && !e) e = $2; next }
          { if (prev && $1 > s && $1 <= e) print ($2 - pcpu) / 1e6, ($1 - prev) / 1e6; prev = $1; pcpu = $2 }' \
          "$run/marks" "$run/frames"
      done >"$OUT/sel"
      cpu=$(cut -d' ' -f1 "$OUT/sel" | sort -g | awk '{ v[NR] = $1 } END { printf "%8.2f %8.2f %8.2f", v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)], v[int(NR * 0.1 + 1)] }')
      wall=$(cut -d' ' -f2 "$OUT/sel" | sort -g | awk '{ v[NR] = $1 } END { printf "%8.2f %8.2f", v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)] }')
      real=-
      if [ "$phase" = running ]; then
        # The step clock of the test run at normal speed, fed the frames'
        # wall times, then their CPU times: what a machine shared with
        # nothing else would keep.
        real=$(for column in 2 1; do awk -v c=$column '{ now += $c
            for (k = 1; now - clock >= 16 && k <= 8; k++) { steps++; if (k < 3) clock += 16; else clock = now } }
          END { printf "%.0f%% ", 100 * steps * 16 / now }' "$OUT/sel"; done)
      fi
      printf '%-34s %-9s %-8s %6s %s %s %s\n' "$(basename "$(dirname "$build")")/$(basename "$build")" \
        "$size" "$phase" "$(wc -l <"$OUT/sel")" "$cpu" "$wall" "$real"
    done
  done
done
