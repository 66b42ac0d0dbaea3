#!/usr/bin/env bash
# Main menu and options: Escape in a sub-screen returns to the main menu;
# Apply without a change keeps the mode; choosing a resolution and Apply
# resizes the window, text still draws, and the size reaches "config.txt";
# a close request inside a sub-screen unwinds and ends the game cleanly.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/menus_lib.bash"
e2e_init "$@"

# The main menu's title (size 32, centred, y 160) tells it apart.
onmainmenu() { [ "$(menus_lit 240 160 160 32)" -gt 150 ]; }
# The options menu's "Resolution" heading at (0, 48).
onoptions() { [ "$(menus_lit 0 48 80 16)" -gt 150 ]; }

e2e_start
menus_until 5 onmainmenu || e2e_fail "no main menu title"
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "first window is $(e2e_window_size)"

# Escape inside options only goes back.
e2e_key o
menus_until 5 onoptions || e2e_fail "the options menu did not open"
e2e_key Escape
menus_until 5 onmainmenu || e2e_fail "Escape in the options menu did not return to the main menu"

# Apply with nothing chosen switches nothing.
e2e_key o
menus_until 5 onoptions || e2e_fail "the options menu did not open"
e2e_click 620 6
menus_until 5 onmainmenu || e2e_fail "Apply did not return to the main menu"
[ "$(e2e_window_size)" = "800 600" ] || e2e_fail "Apply without a change resized to $(e2e_window_size)"

# The first resolution row, then Apply.
e2e_key o
menus_until 5 onoptions || e2e_fail "the options menu did not open"
[ "$(menus_lit 0 80 80 16)" -gt 60 ] || e2e_fail "no resolution row"
e2e_click 10 84
e2e_click 620 6
menus_until 10 eval '[ "$(e2e_window_size)" != "800 600" ]' ||
  e2e_fail "choosing a resolution and Apply did not resize the window"
size=$(e2e_window_size)
e2e_log "window now $size"
menus_until 5 onmainmenu || e2e_fail "no readable main menu after the mode change"
# The cursor still draws: a bright spot under the pointer on black.
e2e_move 600 300
e2e_frames
e2e_shot "$WORK/cursor.png"
[ "$(e2e_vmax "$WORK/cursor.png" 590 290 20 20)" -gt 150 ] || e2e_fail "no cursor after the mode change"

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
menus_until 5 onmainmenu || e2e_fail "no main menu after the restart"
e2e_key s
menus_until 5 eval '! onmainmenu' || e2e_fail "the start menu did not open"
rm -f "$DATA/config.txt"
e2e_close
e2e_wait_exit 10 || e2e_fail "a close request in the start menu did not end the game"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS after a close request"
[ -s "$DATA/config.txt" ] || e2e_fail "no config.txt after a close request"
e2e_pass
