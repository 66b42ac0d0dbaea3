#!/usr/bin/env bash
# Main menu and options: Escape in a sub-screen returns to the main menu;
# Apply without a change keeps the mode; choosing a resolution and Apply
# resizes the window, text still draws, and the size reaches "config.txt";
# a close request inside a sub-screen unwinds and ends the game cleanly.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}

# The main menu's title (size 32, centred, y 160) is what tells it apart.
onmainmenu() {
  e2e_move 600 20
  e2e_frames
  e2e_shot "$WORK/$1.png"
  [ "$(vmax "$WORK/$1.png" 240 160 160 32)" -gt 150 ]
}

e2e_start
onmainmenu start || e2e_fail "no main menu title"
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "first window is $(e2e_window_size)"

# Escape inside options only goes back.
e2e_key o
e2e_frames
onmainmenu options && e2e_fail "the options menu did not open"
e2e_key Escape
onmainmenu back || e2e_fail "Escape in the options menu did not return to the main menu"

# Apply with nothing chosen switches nothing.
e2e_key o
e2e_click 620 6
e2e_frames 1
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "Apply without a change resized to $(e2e_window_size)"
onmainmenu applied || e2e_fail "Apply did not return to the main menu"

# The first resolution row, then Apply.
e2e_key o
e2e_frames
e2e_shot "$WORK/rows.png"
[ "$(vmax "$WORK/rows.png" 0 80 80 16)" -gt 60 ] || e2e_fail "no resolution row"
e2e_click 10 84
e2e_click 620 6
e2e_frames 2
size=$(e2e_window_size)
e2e_log "window now $size"
[ "$size" != "800 600" ] || e2e_fail "choosing a resolution and Apply did not resize the window"
onmainmenu resized || e2e_fail "no readable main menu after the mode change"
# The cursor still draws: a bright spot under the pointer on black.
e2e_move 600 300
e2e_frames
e2e_shot "$WORK/cursor.png"
[ "$(vmax "$WORK/cursor.png" 590 290 20 20)" -gt 150 ] || e2e_fail "no cursor after the mode change"

e2e_key Escape
e2e_wait_exit 10 || e2e_fail "Escape did not end the game"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
read -r w h <<<"$size"
grep -q "^screenwidth=$w" "$DATA/config.txt" || e2e_fail "config.txt lacks width $w: $(cat "$DATA/config.txt")"
grep -q "^screenheight=$h" "$DATA/config.txt" || e2e_fail "config.txt lacks height $h"

# The next start opens with it; a close request inside the start menu
# unwinds every screen and still saves the settings.
e2e_start_game
[ "$(e2e_window_size)" = "$size" ] || e2e_fail "restart opened at $(e2e_window_size), not $size"
e2e_key s
e2e_frames
rm -f "$DATA/config.txt"
e2e_close
e2e_wait_exit 10 || e2e_fail "a close request in the start menu did not end the game"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS after a close request"
[ -s "$DATA/config.txt" ] || e2e_fail "no config.txt after a close request"
e2e_pass
