#!/usr/bin/env bash
# Load level and load bridge menus: New Level and a chosen level open the
# editor and save nothing on return; the bridge list shows the current and
# the older format of a name; Escape goes back one screen at a time.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/menus_lib.bash"
e2e_init "$@"

rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Mine" "$DATA/bridge/Mine"
menus_level "$DATA/level/Mine/canal.qzl"
: >"$DATA/bridge/Mine/span.qzb"
: >"$DATA/bridge/Mine/span.brg"
touch "$WORK/marker"
sleep 1

# The menus' heading row (y 0, centred) and the first list row; the main
# menu and the editor show neither lit.
onlist() { [ "$(menus_lit 270 0 100 16)" -gt 150 ] && [ "$(e2e_vmax "$WORK/lit.png" 320 80 60 16)" -gt 60 ]; }

e2e_start
e2e_key l
menus_until 5 onlist || e2e_fail "the load level menu did not open"
[ "$(e2e_vmax "$WORK/lit.png" 0 80 60 16)" -gt 150 ] || e2e_fail "the chosen pack is not lit"
[ "$(e2e_vmax "$WORK/lit.png" 560 464 80 16)" -gt 60 ] || e2e_fail "no New Level button"

# n opens the editor on a new level; Escape comes back here.
e2e_key n
menus_until 5 eval '! onlist' || e2e_fail "New Level did not open the editor"
e2e_key Escape
menus_until 5 onlist || e2e_fail "leaving the editor did not return to the load level menu"

# A chosen level opens too.
e2e_click 330 84
menus_until 5 eval '! onlist' || e2e_fail "a chosen level did not open the editor"
e2e_key Escape
menus_until 5 onlist || e2e_fail "leaving the editor did not return to the load level menu"

# Back to the main menu, into the bridge list.
e2e_key Escape
menus_until 5 eval '! onlist' || e2e_fail "Escape did not leave the load level menu"
e2e_key b
menus_until 5 onlist || e2e_fail "the load bridge menu did not open"
[ "$(e2e_vmax "$WORK/lit.png" 320 96 60 16)" -gt 60 ] || e2e_fail "the .brg bridge is not listed"
[ "$(e2e_vmax "$WORK/lit.png" 560 464 80 16)" -lt 30 ] || e2e_fail "the bridge menu shows New Level"
e2e_click 330 100
menus_until 5 eval '! onlist' || e2e_fail "a chosen bridge did not open the editor"
e2e_key Escape
menus_until 5 onlist || e2e_fail "leaving the editor did not return to the load bridge menu"

e2e_key Escape
menus_until 5 eval '! onlist' || e2e_fail "Escape did not leave the load bridge menu"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the game did not end"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
# Nothing but the settings was written.
written=$(find "$DATA" -type f -newer "$WORK/marker" ! -name config.txt)
[ -z "$written" ] || e2e_fail "files written by the load menus: $written"
e2e_pass
