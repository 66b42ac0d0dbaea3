#!/usr/bin/env bash
# Load level and load bridge menus: New Level and a chosen level open the
# editor and save nothing on return; the bridge list shows the current and
# the older format of a name; Escape goes back one screen at a time.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}

rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Mine" "$DATA/bridge/Mine"
shipped=$(find "$SRC/data/level" -name '*.qzl' 2>/dev/null | sort | head -n1)
if [ -n "$shipped" ]; then cp "$shipped" "$DATA/level/Mine/canal.qzl"; else : >"$DATA/level/Mine/canal.qzl"; fi
: >"$DATA/bridge/Mine/span.qzb"
: >"$DATA/bridge/Mine/span.brg"
touch "$WORK/marker"
sleep 1

# The screen's heading row (y 0, centred) names it; the main menu has none.
heading() {
  e2e_move 600 300
  e2e_frames
  e2e_shot "$WORK/$1.png"
  vmax "$WORK/$1.png" 270 0 100 16
}

e2e_start
e2e_key l
e2e_frames
[ "$(heading loadlevel)" -gt 150 ] || e2e_fail "the load level menu did not open"
[ "$(vmax "$WORK/loadlevel.png" 0 80 60 16)" -gt 150 ] || e2e_fail "the chosen pack is not lit"
[ "$(vmax "$WORK/loadlevel.png" 320 80 60 16)" -gt 60 ] || e2e_fail "the level is not listed"
[ "$(vmax "$WORK/loadlevel.png" 560 464 80 16)" -gt 60 ] || e2e_fail "no New Level button"

# n opens the editor on a new level; Escape comes back here.
e2e_key n
e2e_frames 1
e2e_shot "$WORK/newlevel.png"
[ "$(vmax "$WORK/newlevel.png" 560 464 80 16)" -gt 60 ] &&
  [ "$(vmax "$WORK/newlevel.png" 320 80 60 16)" -gt 60 ] &&
  e2e_fail "New Level did not open the editor"
e2e_key Escape
e2e_frames
[ "$(heading back1)" -gt 150 ] || e2e_fail "leaving the editor did not return to the load level menu"

# A chosen level opens too.
e2e_click 330 84
e2e_frames 1
e2e_key Escape
e2e_frames
[ "$(heading back2)" -gt 150 ] || e2e_fail "leaving the editor did not return to the load level menu"

# Back to the main menu, into the bridge list.
e2e_key Escape
e2e_frames
[ "$(heading main)" -lt 60 ] || e2e_fail "Escape did not leave the load level menu"
e2e_key b
e2e_frames
[ "$(heading loadbridge)" -gt 150 ] || e2e_fail "the load bridge menu did not open"
[ "$(vmax "$WORK/loadbridge.png" 320 80 60 16)" -gt 60 ] || e2e_fail "the .qzb bridge is not listed"
[ "$(vmax "$WORK/loadbridge.png" 320 96 60 16)" -gt 60 ] || e2e_fail "the .brg bridge is not listed"
[ "$(vmax "$WORK/loadbridge.png" 560 464 80 16)" -lt 30 ] || e2e_fail "the bridge menu shows New Level"
e2e_click 330 100
e2e_frames 1
e2e_key Escape
e2e_frames
[ "$(heading back3)" -gt 150 ] || e2e_fail "leaving the editor did not return to the load bridge menu"

e2e_key Escape Escape
e2e_wait_exit 10 || e2e_fail "the game did not end"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
# Nothing but the settings was written.
written=$(find "$DATA" -type f -newer "$WORK/marker" ! -name config.txt)
[ -z "$written" ] || e2e_fail "files written by the load menus: $written"
e2e_pass
