#!/usr/bin/env bash
# F8 screenshots from a window larger than the 1280x960 the buffer was
# first sized for: the file holds the whole frame, bottom row first, as the
# window shows it without the cursor; holding F8 takes one picture.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
printf 'screenwidth=1600\r\nscreenheight=1200\r\ncolordepth=32\r\nfullscreen=0\r\ndirectory=0\r\n' >"$DATA/config.txt"
e2e_start 1920x1280
[ "$(e2e_window_size)" = "1600 1200" ] || e2e_fail "window is $(e2e_window_size), not 1600x1200"

# Start Game, the first level of the first pack: the editor.
e2e_key s
e2e_frames
e2e_click 345 86
e2e_frames 1
e2e_move 320 120
e2e_frames
e2e_key F8
e2e_wait_file "$DATA/scsht000.tga" 10 || e2e_fail "F8 in the editor wrote no screenshot"
e2e_frames 1
e2e_shot "$WORK/screen.png"

tga="$DATA/scsht000.tga"
[ "$(stat -c %s "$tga")" = $((18 + 1600 * 1200 * 3)) ] || e2e_fail "screenshot is $(stat -c %s "$tga") bytes"
[ "$(head -c 18 "$tga" | od -An -tx1 -w18 | tr -s " ")" = " 00 00 02 00 00 00 00 00 00 00 00 00 40 06 b0 04 18 00" ] ||
  e2e_fail "TGA header: $(head -c 18 "$tga" | od -An -tx1)"
# The decoder notes the bottom-left origin as an orientation; -auto-orient
# applies it.
convert "$tga" -auto-orient "$WORK/tga.png" || e2e_fail "the TGA does not decode"

# The file shows the frame the right way up: the editor's "Exit" label is
# at the top left in both pictures, and the two agree away from the cursor.
[ "$(e2e_vmax "$WORK/tga.png" 0 0 40 16)" -ge 100 ] || e2e_fail "no Exit label at the top left of the TGA"
[ "$(e2e_vmax "$WORK/tga.png" 0 464 40 16)" -ge 100 ] || e2e_fail "no bottom-row text in the TGA"
difference=$(compare -metric AE -fuzz 3% "$WORK/tga.png" "$WORK/screen.png" null: 2>&1 | cut -d' ' -f1)
e2e_log "pixels differing from the window: $difference"
[[ "$difference" =~ ^[0-9]+$ ]] && [ "$difference" -lt 6000 ] || e2e_fail "the TGA differs from the window in $difference pixels"
# The cursor is not in the picture: nothing bright around the pointer.
[ "$(e2e_vmax "$WORK/tga.png" 322 122 10 12)" -le 90 ] || e2e_fail "the cursor is in the screenshot"

# Holding F8 over many frames saves one more picture, not one per frame.
xdotool keydown F8
sleep 1
xdotool keyup F8
e2e_frames 1
[ -e "$DATA/scsht001.tga" ] || e2e_fail "holding F8 saved nothing"
[ ! -e "$DATA/scsht002.tga" ] || e2e_fail "holding F8 saved more than one picture"
ls "$DATA"/'<'* >/dev/null 2>&1 && e2e_fail "a temporary file was left beside the screenshots"

e2e_key Escape Escape Escape
e2e_wait_exit 10 || e2e_fail "Escape did not leave the game"
e2e_pass
