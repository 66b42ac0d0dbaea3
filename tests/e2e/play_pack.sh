#!/usr/bin/env bash
# A player's road through a map pack in the real window. The test first
# makes a pack of two levels in the level editor (two anchors, saved twice
# through the File box). Start Game: the second level is dimmed and cannot
# be chosen; the first is played with a truss drawn with the mouse that
# passes its test run; "Next Level" returns to the list, the progress file
# marks the first level passed, its bridge is saved, and the second level
# can now be chosen. Reopening the first level shows the saved bridge.
. "$(dirname "$0")/lib.sh"
# Generous key and button holds: a loaded machine may draw a frame slowly,
# and a press that starts and ends between two frames is never seen.
E2E_HOLD=${E2E_HOLD:-0.3}
. "$(dirname "$0")/editor_lib.bash"
e2e_init "$@"
rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Test" "$DATA/bridge"
editor_smallwindow
e2e_start

# The pack: the default crossing with anchors at both ends, as two levels.
editor_newlevel
editor_anchors 992 32 1056 32
e2e_key F4
editor_savefile first
e2e_wait_file "$DATA/level/Test/first.qzl" 5 || e2e_fail "the level editor saved no level"
editor_savefile second
e2e_wait_file "$DATA/level/Test/second.qzl" 5 || e2e_fail "the second level was not saved"
e2e_key Escape Escape Escape
e2e_frames

# The brightest pixel of a virtual-screen region: a label's brightness
# whatever its length.
vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}
showlist() {
  e2e_move 600 300
  e2e_frames
  e2e_shot "$WORK/$1.png"
}
e2e_key s
showlist list
open=$(vmax "$WORK/list.png" 320 80 60 16)
locked=$(vmax "$WORK/list.png" 320 96 60 16)
e2e_log "level rows: first $open, second $locked"
[ $((locked * 3)) -lt $((open * 2)) ] || e2e_fail "the second level is not dimmed"
e2e_click 330 100
e2e_frames 1
[ -e "$DATA/bridge/Test/second.qzb" ] && e2e_fail "the locked level could be played"

# Play the first level: an open truss over the dip, 16-unit panels.
e2e_click 330 84
e2e_frames 1
editor_path 992 32 1008 32 1024 32 1040 32 1056 32
editor_stop
editor_path 992 32 1000 48 1008 32 1016 48 1024 32 1032 48 1040 32 1048 48 1056 32
editor_stop
editor_path 1000 48 1016 48 1032 48 1048 48
editor_stop
e2e_move "$(vx 1024)" "$(vy 76)"
e2e_frames
e2e_shot "$WORK/built.png"
editor_starttest
editor_runtrain
e2e_key v
editor_wait_passed 90 || e2e_fail "the train did not get across"
e2e_key n
e2e_wait_file "$DATA/bridge/Test/first.qzb" 5 || e2e_fail "Next Level saved no bridge"
e2e_wait_file "$DATA/bridge/Test.pro" 5 || e2e_fail "Next Level wrote no progress"
e2e_frames
[ "$(head -c 4 "$DATA/bridge/Test.pro" | od -An -tx1 | tr -d ' ')" = 01000000 ] ||
  e2e_fail "the progress file does not mark the first level passed"
"$BUILD/spanwright-verify" "$DATA/bridge/Test/first.qzb" >"$WORK/verify.txt" ||
  e2e_fail "the saved bridge does not pass: $(cat "$WORK/verify.txt")"

# Back on the list, the second level is open now.
showlist unlocked
now=$(vmax "$WORK/unlocked.png" 320 96 60 16)
[ $((now * 3)) -ge $((open * 2)) ] || e2e_fail "the second level stays dimmed ($now)"
e2e_click 330 100
e2e_frames 1
e2e_move "$(vx 1024)" "$(vy 76)"
e2e_frames
e2e_shot "$WORK/second.png"
e2e_key Escape
e2e_wait_file "$DATA/bridge/Test/second.qzb" 5 || e2e_fail "the unlocked level could not be played"

# Reopening the first level shows its saved bridge: a joint where the
# truss's first top joint stands, none on the empty second level.
showlist again
e2e_click 330 84
e2e_frames 1
e2e_move "$(vx 1024)" "$(vy 76)"
e2e_frames
e2e_shot "$WORK/reopened.png"
joint=$(e2e_vmean "$WORK/reopened.png" "$(($(vx 1000) - 2))" "$(($(vy 48) - 2))" 4 4)
empty=$(e2e_vmean "$WORK/second.png" "$(($(vx 1000) - 2))" "$(($(vy 48) - 2))" 4 4)
e2e_log "top joint spot: $joint reopened, $empty on the empty level"
[ "$joint" -gt $((empty + 40)) ] || e2e_fail "the reopened level does not show the saved bridge"
e2e_key Escape
e2e_frames
e2e_alive || e2e_fail "the game ended"
e2e_pass
