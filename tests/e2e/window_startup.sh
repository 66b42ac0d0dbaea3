#!/usr/bin/env bash
# Start-up and shut-down beyond the plain first run: no display at all, the
# window hidden and shown again, a close request from the window system,
# the mode from "config.txt", a mode the display cannot open, and broken or
# missing font and cursor images.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Without a display: one clear line on stderr and a non-zero status.
(cd "$DATA" && env -u DISPLAY "$GAME" >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err")
status=$?
[ "$status" -ne 0 ] || e2e_fail "started without a display and returned 0"
[ "$(wc -l <"$WORK/nodisplay.err")" = 1 ] && grep -q '^spanwright: ' "$WORK/nodisplay.err" ||
  e2e_fail "without a display stderr was: $(cat "$WORK/nodisplay.err")"
[ ! -e "$DATA/config.txt" ] || e2e_fail "a failed start wrote config.txt"

# Hidden and shown again (as iconify and restore do): the mode is set again
# and the font and cursor are uploaded again, so both still draw.
e2e_start
xdotool windowunmap --sync "$WID"
e2e_frames
xdotool windowmap --sync "$WID"
e2e_frames 1
e2e_move 100 100
e2e_frames
e2e_shot "$WORK/restored.png"
[ "$(e2e_vmax "$WORK/restored.png" 200 160 240 32)" -ge 200 ] || e2e_fail "no title after the window came back"
[ "$(e2e_vmax "$WORK/restored.png" 100 100 12 16)" -ge 200 ] || e2e_fail "no cursor after the window came back"

# A close request on the main menu ends the game like Escape.
e2e_close
e2e_wait_exit 10 || e2e_fail "the close request did not end the game"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS after a close request"
grep -q $'^screenwidth=800\r$' "$DATA/config.txt" || e2e_fail "no config.txt after a close request"

# The settings file chooses the first mode, and it is written back as used.
printf 'screenwidth=1024\r\nscreenheight=768\r\ncolordepth=16\r\nfullscreen=0\r\ndirectory=0\r\n' >"$DATA/config.txt"
e2e_start_game
[ "$(e2e_window_size)" = "1024 768" ] || e2e_fail "config.txt asked for 1024x768, got $(e2e_window_size)"
e2e_move 639 479
e2e_frames
e2e_shot "$WORK/mode16.png"
[ "$(e2e_vmax "$WORK/mode16.png" 200 160 240 32)" -ge 200 ] || e2e_fail "no title in the 16-bit mode"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "Escape did not end the game"
grep -q $'^colordepth=16\r$' "$DATA/config.txt" && grep -q $'^screenwidth=1024\r$' "$DATA/config.txt" ||
  e2e_fail "the 16-bit mode was not written back: $(cat "$DATA/config.txt")"

# A mode that cannot be opened falls back to the default window instead of
# locking the player out, and says so.
printf 'screenwidth=0\r\nscreenheight=0\r\ncolordepth=32\r\nfullscreen=0\r\ndirectory=0\r\n' >"$DATA/config.txt"
e2e_start_game
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "an impossible mode gave $(e2e_window_size)"
grep -q 'trying 800x600' "$WORK/game.err" || e2e_fail "no word about the fallback on stderr"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "Escape did not end the game"
grep -q $'^screenwidth=800\r$' "$DATA/config.txt" || e2e_fail "the fallback mode was not saved"

# A font image too short for its 16 rows of glyph cells is not used.
convert -size 256x64 xc:none "png32:$DATA/texture/font01.png"
e2e_start_game
e2e_move 639 479
e2e_frames
e2e_shot "$WORK/shortfont.png"
[ "$(e2e_vmax "$WORK/shortfont.png" 200 160 240 32)" -ge 200 ] || e2e_fail "no title with a broken font image"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "Escape did not end the game"

# Without the font and cursor images the game still runs: the menu is
# drawn with the built-in font, a pointer is still drawn, and Escape still
# leaves.
rm -f "$DATA/texture/font01.png" "$DATA/texture/mouse01.png"
e2e_start_game
e2e_move 100 100
e2e_frames
e2e_shot "$WORK/noimages.png"
[ "$(e2e_vmax "$WORK/noimages.png" 100 100 10 14)" -ge 200 ] || e2e_fail "no pointer without the cursor image"
[ "$(e2e_vmax "$WORK/noimages.png" 200 160 240 32)" -ge 200 ] || e2e_fail "no title without the font image"
[ "$(e2e_vmax "$WORK/noimages.png" 200 336 240 80)" -ge 100 ] || e2e_fail "no menu items without the font image"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "without its images the game did not answer Escape"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS without the images"
e2e_pass
