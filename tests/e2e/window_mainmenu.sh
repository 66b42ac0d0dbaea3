#!/usr/bin/env bash
# The window and the main menu as a player first sees them: the title bar
# and icon, the menu's texts and items where they belong, readable glyphs, hover
# brightening, the drawn cursor, and Escape ending the game with the
# settings written back.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start

[ "$(xdotool getwindowname "$WID")" = Spanwright ] || e2e_fail "window title is '$(xdotool getwindowname "$WID")'"
xprop -id "$WID" WM_HINTS | grep -q 'bitmap id # to use for icon' || e2e_fail "the window has no icon"
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "no config.txt should give 800x600, got $(e2e_window_size)"

# Park the pointer in the bottom-right corner: the arrow hangs from its tip
# down and to the right, out of the window.
e2e_move 639 479
e2e_frames
e2e_shot "$WORK/menu.png"

# Rows of the virtual screen that must hold text (y, height, what) and the
# gaps between them that must stay black.
# Items are drawn at half brightness until hovered, fixed texts at full.
inked() { [ "$(e2e_vmax "$WORK/menu.png" 200 "$1" 240 "$2")" -ge "$3" ]; }
blank() { [ "$(e2e_vmax "$WORK/menu.png" 0 "$1" 640 "$2")" -le 8 ]; }
inked 160 32 200 || e2e_fail "no title at y 160"
inked 208 12 200 || e2e_fail "no version line at y 208"
for y in 336 352 368 384 400; do
  inked "$y" 16 100 || e2e_fail "no menu item at y $y"
done
inked 448 12 200 || e2e_fail "no credit line at y 448"
inked 460 12 100 || e2e_fail "no web address at y 460"
blank 0 150 || e2e_fail "something drawn above the title"
blank 230 100 || e2e_fail "something drawn between the version and the items"
blank 420 24 || e2e_fail "something drawn between the items and the credit line"

# Everything is centred on x = 320: the ink of each row is balanced left
# and right of the middle (within a few virtual pixels).
for y in 160 336 400 448; do
  left=$(e2e_vmean "$WORK/menu.png" 120 "$y" 200 16)
  right=$(e2e_vmean "$WORK/menu.png" 320 "$y" 200 16)
  [ $((left - right)) -le 6 ] && [ $((right - left)) -le 6 ] ||
    e2e_fail "row $y is not centred (left $left, right $right)"
done

# Glyphs are measured from the font image: the title is wider than tall
# and its ink runs in distinct letters, not one smeared block.
read -r w h < <(identify -format '%w %h' "$WORK/menu.png")
title=$(convert "$WORK/menu.png" -crop "$((w / 2))x$((h * 40 / 480))+$((w / 4))+$((h * 156 / 480))" +repage \
  -colorspace gray -threshold 50% -trim -format '%w %h' info:)
read -r tw th <<<"$title"
[ "$tw" -gt $((th * 3)) ] && [ "$tw" -lt $((w / 2)) ] || e2e_fail "title ink is ${tw}x${th}"
columns=$(convert "$WORK/menu.png" -crop "$((w / 2))x$((h * 32 / 480))+$((w / 4))+$((h * 160 / 480))" +repage \
  -colorspace gray -threshold 50% -scale "$((w / 2))x1!" -threshold 0 txt:- | grep -c '#000000')
[ "$columns" -ge 8 ] || e2e_fail "the title has no gaps between its letters"

# Hovering "Options" (y 384) brightens it; measured left of the pointer so
# the cursor image is not counted.
before=$(e2e_vmean "$WORK/menu.png" 280 384 44 16)
e2e_move 340 390
e2e_frames
e2e_shot "$WORK/hover.png"
after=$(e2e_vmean "$WORK/hover.png" 280 384 44 16)
e2e_log "Options brightness $before -> $after"
[ "$after" -gt $((before + before / 4)) ] || e2e_fail "hovering Options did not brighten it ($before -> $after)"
# ...and only it: "Load Level" above keeps its brightness.
[ "$(e2e_vmean "$WORK/hover.png" 280 368 44 16)" -le "$(($(e2e_vmean "$WORK/menu.png" 280 368 44 16) + 1))" ] ||
  e2e_fail "hovering Options brightened Load Level too"

# The cursor is drawn at the pointer over black.
e2e_move 100 100
e2e_frames
e2e_shot "$WORK/cursor.png"
[ "$(e2e_vmean "$WORK/cursor.png" 100 100 12 16)" -ge 20 ] || e2e_fail "no cursor at the pointer"
[ "$(e2e_vmean "$WORK/cursor.png" 80 80 18 18)" -le 1 ] || e2e_fail "cursor drawn above-left of its tip"

# Escape ends the game with status 0 and the five settings lines, CR LF.
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "Escape did not end the game"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
e2e_wait_file "$DATA/config.txt" 1 || e2e_fail "no config.txt written"
expected=$(printf 'screenwidth=800\r\nscreenheight=600\r\ncolordepth=32\r\nfullscreen=0\r\ndirectory=0\r\n')
[ "$(cat "$DATA/config.txt")" = "$expected" ] || e2e_fail "config.txt is: $(od -c "$DATA/config.txt" | head)"
[ "$(wc -l <"$DATA/config.txt")" = 5 ] && [ "$(grep -c $'\r$' "$DATA/config.txt")" = 5 ] ||
  e2e_fail "config.txt lines are not five CR LF lines"
e2e_pass
