#!/usr/bin/env bash
# Compares what two builds draw, pixel by pixel: the game's own F8
# screenshots of the lattice bridge of frametime.sh in the editor and in a
# paused test run at its first step, each in the normal and the stress
# view, at the camera distances 256, 64 and 16, in one window size.
#
#   bash tests/bench/frametime/pictures.sh [-g WxH] BUILD_A BUILD_B [OUTDIR]
#
# Prints per picture the number of differing pixels (compare -metric AE,
# no fuzz) and the largest difference of a colour channel (0..255); OUTDIR
# (default a temporary directory, kept) holds both builds' PNGs and, for
# pictures that differ, a third showing where.
set -eu
SIZE=800x600
while getopts g: o; do
  case $o in
    g) SIZE=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 2 ] || { sed -n 6p "$0"; exit 2; }
HERE=$(cd "$(dirname "$0")" && pwd)
SRC=$(cd "$HERE/../../.." && pwd)
OUT=${3:-$(mktemp -d /tmp/pictures.XXXXXX)}
mkdir -p "$OUT"
cc -O2 -o "$OUT/lattice" "$HERE/lattice.c"
"$OUT/lattice" "$OUT/lattice.qzb"

# Presses are held for a second: a frame of the full bridge on a busy
# machine can outlast a shorter press, and a missed r swaps the pictures; a
# missed F8 is pressed again.
# Wheel notches move the camera 4 units each and the distance is clamped to
# 16..256, so these sequences land on the same distances in every build.
cat >"$OUT/pictures.scn" <<'SCN'
rm -rf bridge && mkdir -p bridge/Perf && cp "$PIC_BRIDGE" bridge/Perf/lattice.qzb
zoom() { case $1 in 256) wheel down 60 ;; 64) wheel up 48 ;; 16) wheel up 16 ;; esac; }
snap() { shot $1 || shot $1 || shot $1; }
views() { local z; for z in 256 64 16; do zoom $z && wait 1 && snap $1-$z && key r && wait 0.5 && snap $1stress-$z && key r || return 1; done; }
copyout() { local f; for f in "$WORK"/*-*.png; do cp "$f" "$PIC_OUT/$PIC_TAG-$(basename "$f")"; done; }
start $PIC_SIZE
key b; click 330 84; move 630 475; wait 2
views editor
key t; wait 1; key p F1; wait 1
views test
copyout
SCN

tag=0
for build in "$1" "$2"; do
  tag=$((tag + 1))
  PIC_OUT=$OUT PIC_TAG=$tag PIC_SIZE=$SIZE PIC_BRIDGE=$OUT/lattice.qzb E2E_HOLD=${E2E_HOLD:-1} \
    bash "$SRC/tests/e2e/run.sh" "$build" "$SRC" "$OUT/pictures.scn" >"$OUT/log-$tag" 2>&1 ||
    { echo "run of $build failed:"; tail -5 "$OUT/log-$tag"; exit 1; }
done
for a in "$OUT"/1-*.png; do
  name=${a#"$OUT"/1-}
  n=$(compare -metric AE "$a" "$OUT/2-$name" "$OUT/diff-$name" 2>&1 | cut -d' ' -f1) || true
  [ "$n" = 0 ] && rm -f "$OUT/diff-$name"
  most=$(convert "$a" "$OUT/2-$name" -compose difference -composite -format '%[fx:round(maxima*255)]' info:)
  printf '%-22s %8s %4s\n' "${name%.png}" "$n" "$most"
done
echo "pictures in $OUT"
