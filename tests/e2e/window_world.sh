#!/usr/bin/env bash
# The world as drawn in a real window: the camera puts the level where the
# editor's mouse arithmetic expects it (deck height at the screen's middle
# row, 5 virtual pixels per world unit at the starting zoom), anchors in
# their colour, terrain over the grid, the automatic deck row marked, a new
# deck beam in white, and in the test run the deck as bonds.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start

# The first level of the first pack: anchors at x 1008 and 1040 on the
# deck height 64, the camera at (1024, 64) and distance 64.
e2e_key s
e2e_frames
e2e_click 345 86
e2e_frames 1
e2e_move 639 479
e2e_frames
e2e_shot "$WORK/editor.png"
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "window is $(e2e_window_size)"

# World (x, y) to window pixels: 800 pixels span 2 * 64 units.
wx() { echo $((400 + ($1 - 1024) * 25 / 4)); }
wy() { echo $((300 - ($1 - 64) * 25 / 4)); }
near() { # value expected tolerance
  [ "$1" -ge $(($2 - $3)) ] && [ "$1" -le $(($2 + $3)) ]
}
colour() { # file x y r g b: the pixel is that colour within 12
  local r g b
  read -r r g b < <(e2e_pixel "$1" "$2" "$3")
  near "$r" "$4" 12 && near "$g" "$5" 12 && near "$b" "$6" 12
}

colour "$WORK/editor.png" "$(wx 1008)" "$(wy 64)" 127 127 63 || e2e_fail "no anchor at (1008, 64): $(e2e_pixel "$WORK/editor.png" "$(wx 1008)" "$(wy 64)")"
colour "$WORK/editor.png" "$(wx 1040)" "$(wy 64)" 127 127 63 || e2e_fail "no anchor at (1040, 64)"
colour "$WORK/editor.png" "$(wx 976)" "$(wy 48)" 51 51 51 || e2e_fail "no terrain at (976, 48): $(e2e_pixel "$WORK/editor.png" "$(wx 976)" "$(wy 48)")"
colour "$WORK/editor.png" "$(wx 1072)" "$(wy 40)" 51 51 51 || e2e_fail "no terrain at (1072, 40)"
# The deck row (olive) crosses the open ditch between the anchors.
olive=0
for y in $(seq $(($(wy 64) - 3)) $(($(wy 64) + 3))); do
  colour "$WORK/editor.png" "$(wx 1020)" "$y" 76 76 0 && olive=1
done
[ "$olive" = 1 ] || e2e_fail "no olive deck row at height 64"
# Above the ground only the grid: dark, never the terrain's grey.
[ "$(e2e_mean "$WORK/editor.png" 0 0 800 200)" -lt 40 ] || e2e_fail "the sky is not dark"

# A deck from anchor to anchor in 8-unit steps (virtual 40 pixels).
for x in 240 280 320 360 400; do
  e2e_click "$x" 240
done
e2e_click 400 240 3
e2e_move 639 479
e2e_frames
e2e_shot "$WORK/deck.png"
colour "$WORK/deck.png" "$(wx 1012)" "$(wy 64)" 255 255 255 || e2e_fail "the new deck beam is not white: $(e2e_pixel "$WORK/deck.png" "$(wx 1012)" "$(wy 64)")"
colour "$WORK/deck.png" "$(wx 1016)" "$(wy 64)" 127 127 127 || e2e_fail "no free joint at (1016, 64): $(e2e_pixel "$WORK/deck.png" "$(wx 1016)" "$(wy 64)")"

# Test: the beams become white road bonds, twice as wide, sagging a little.
e2e_key t
e2e_frames 1.5
e2e_shot "$WORK/test.png"
white=0
for y in $(seq $(($(wy 64) - 2)) $(($(wy 64) + 20))); do
  colour "$WORK/test.png" "$(wx 1020)" "$y" 255 255 255 && white=$((white + 1))
done
e2e_log "deck bond $white pixels thick at x 1020"
[ "$white" -ge 3 ] && [ "$white" -le 8 ] || e2e_fail "the deck bond is $white pixels thick at x 1020"

e2e_key Escape Escape Escape Escape
e2e_wait_exit 10 || e2e_fail "Escape did not leave the game"
e2e_pass
