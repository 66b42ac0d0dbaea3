#!/usr/bin/env bash
# Draw the application icon at 256 px and scale it to the sizes a desktop
# looks for. The PNGs are committed; run this only when the drawing changes.
set -eu
cd "$(dirname "$0")"
name=org.spanwright.Spanwright
# A truss over a river gorge, seen from the side like the game's own view:
# cliffs left and right, water below, a triangulated span with its deck on top
# and a locomotive halfway across.
truss=""
for i in 0 1 2 3 4 5; do
  x0=$((44 + i * 28)); x1=$((x0 + 28)); xm=$((x0 + 14))
  truss+=" line $x0,132 $xm,168 line $xm,168 $x1,132"
  [ "$i" -lt 5 ] && truss+=" line $xm,168 $((xm + 28)),168"
done
convert -size 256x256 xc:none \
  -fill '#3b5f8a' -draw 'roundrectangle 8,8 247,247 36,36' \
  -fill '#5d86b5' -draw 'roundrectangle 8,8 247,150 36,36' \
  -fill '#2a6fb0' -draw 'rectangle 40,196 216,236' \
  -fill '#6b4a2b' -draw 'polygon 8,132 48,132 58,247 8,247' \
  -fill '#6b4a2b' -draw 'polygon 208,132 247,132 247,247 198,247' \
  -fill '#5f9a3a' -draw 'rectangle 8,126 48,134 rectangle 208,126 247,134' \
  -stroke '#d8dde4' -strokewidth 5 -fill none -draw "$truss" \
  -stroke '#ffffff' -strokewidth 7 -draw 'line 40,132 216,132' \
  -stroke none -fill '#c0392b' -draw 'roundrectangle 104,104 144,128 4,4' \
  -fill '#1d1d1d' -draw 'circle 112,128 112,121 circle 136,128 136,121' \
  -fill '#f1c40f' -draw 'rectangle 132,108 140,116' \
  \( -size 256x256 xc:none -fill white -draw 'roundrectangle 8,8 247,247 36,36' \) \
  -compose DstIn -composite \
  ${name}-256.png
for s in 48 64 128; do
  convert ${name}-256.png -filter Lanczos -resize ${s}x${s} ${name}-${s}.png
done
