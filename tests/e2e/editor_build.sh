#!/usr/bin/env bash
# A level author's and a builder's whole road through the editor in the real
# window: Load Level, New Level; in the level editor (F4) two anchors placed
# with the period key held, the deck height and both ends painted, Escape;
# a truss drawn with the mouse; Test, Run Train: the train crosses and
# "Test Passed" shows in an F8 screenshot; Edit; File, a typed name, Save:
# the bridge file lands in the pack and spanwright-verify passes it.
. "$(dirname "$0")/lib.sh"
# Generous key and button holds: a loaded machine may draw a frame slowly,
# and a press that starts and ends between two frames is never seen.
E2E_HOLD=${E2E_HOLD:-0.3}
. "$(dirname "$0")/editor_lib.bash"
e2e_init "$@"
rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Authors" "$DATA/bridge"
editor_smallwindow
e2e_start

editor_newlevel
# The ends move out to 984 and 1064, 80 apart, on the flat ground either
# side of the default dip; the deck stays on the ground line at 32.
editor_anchors 984 32 1064 32
e2e_key F4
paint() {
  xdotool keydown "$1"
  editor_at "$2" "$3"
  xdotool keyup "$1"
  e2e_frames 0.2
}
paint k 1024 32
paint n 984 44
paint m 1064 44
e2e_key Escape
e2e_frames

# A lattice truss, two rows above the deck, 16-unit panels.
editor_path 984 32 1000 32 1016 32 1032 32 1048 32 1064 32
editor_stop
editor_path 984 32 992 48 1000 32 1008 48 1016 32 1024 48 1032 32 1040 48 1048 32 1056 48 1064 32
editor_stop
editor_path 992 48 1008 48 1024 48 1040 48 1056 48
editor_stop
editor_path 992 48 1000 64 1008 48 1016 64 1024 48 1032 64 1040 48 1048 64 1056 48
editor_stop
editor_path 1000 64 1016 64 1032 64 1048 64
editor_stop
e2e_move "$(vx 1024)" "$(vy 76)"
e2e_frames
e2e_shot "$WORK/bridge.png"
# Saved first, so that a click lost on a busy machine shows as such rather
# than as a bridge that fails.
editor_save drawn
count=$(editor_joints drawn | grep -o '\[[01], ' | wc -l)
beams=$("$BUILD/spanwright-verify" --describe "$(editor_bridgefile drawn)" | sed 's/.*"beams": //' | grep -o '\[[01], ' | wc -l)
[ "$count" = 15 ] && [ "$beams" = 30 ] || e2e_fail "the drawn truss has $count joints and $beams beams, not 15 and 30"

# Test, then Run Train at the very fast speed.
editor_starttest
editor_runtrain
# An F8 screenshot while the train is still on its way, to compare with.
rm -f "$DATA"/scsht*.tga
e2e_key F8
e2e_wait_file "$DATA/scsht000.tga" 5 || e2e_fail "F8 wrote no screenshot in the test run"
e2e_frames 0.3
mv "$DATA/scsht000.tga" "$WORK/running.tga"
e2e_key v
editor_wait_passed 90 || e2e_fail "the train did not get across (no \"Test Passed\")"
rm -f "$DATA"/scsht*.tga
e2e_key F8
e2e_wait_file "$DATA/scsht000.tga" 5 || e2e_fail "F8 wrote no screenshot in the test run"
e2e_frames 0.3
passed=$(tgatopmean "$DATA/scsht000.tga")
running=$(tgatopmean "$WORK/running.tga")
e2e_log "top centre of the F8 screenshots: $passed passed, $running running"
[ "$running" -lt "$PASSEDMEAN" ] || e2e_fail "the top centre is bright before the pass"
[ "$passed" -gt "$PASSEDMEAN" ] || e2e_fail "\"Test Passed\" is not in the F8 screenshot"

# Back to the editor and save the bridge under a typed name.
e2e_key Escape
e2e_frames
editor_save span80
file=$(editor_bridgefile span80)
case "$file" in
"$DATA/bridge/Authors/span80.qzb") ;;
*) e2e_fail "the bridge was saved as $file, not in the pack" ;;
esac
"$BUILD/spanwright-verify" "$file" >"$WORK/verify.txt" || {
  cat "$WORK/verify.txt"
  e2e_fail "spanwright-verify does not pass the saved bridge"
}
describe=$("$BUILD/spanwright-verify" --describe "$file")
grep -q '"leftend": 984, "rightend": 1064' <<<"$describe" || e2e_fail "the painted ends were not saved"
grep -q '"deckheight": 32' <<<"$describe" || e2e_fail "the deck height was not saved"
anchors=$(editor_joints span80 | grep -o '\[0, [0-9]*, [0-9]*\]' | tr '\n' ' ')
[ "$anchors" = "[0, 984, 32] [0, 1064, 32] " ] || e2e_fail "the anchors are not the two placed: $anchors"
e2e_alive || e2e_fail "the game ended"
e2e_pass
