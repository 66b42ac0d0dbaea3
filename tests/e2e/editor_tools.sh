#!/usr/bin/env bash
# The editor's group tools in the real window, on a new level: Undo and Redo
# through their buttons and keys change the cost shown; Copy, Flip X and
# Paste stamp a mirrored copy of a lopsided truss; Delete removes the free
# joints inside a rectangle and leaves the anchor there. The joints are
# checked in the bridge file saved through the File box.
. "$(dirname "$0")/lib.sh"
# Generous key and button holds: a loaded machine may draw a frame slowly,
# and a press that starts and ends between two frames is never seen.
E2E_HOLD=${E2E_HOLD:-0.3}
. "$(dirname "$0")/editor_lib.bash"
e2e_init "$@"
editor_smallwindow
e2e_start

editor_newlevel
editor_anchors 992 32 1056 32

# A lopsided triangle hanging off the left anchor.
editor_path 992 32 1000 40 1000 52 1008 40 1000 40
editor_stop
e2e_frames
shotcost() { e2e_move "$(vx 1030)" "$(vy 70)"; e2e_frames 0.3; e2e_shot "$WORK/$1.png"; costhash "$WORK/$1.png"; }
built=$(shotcost built)

# Undo by its button: the cost drops; Redo by its key brings it back.
e2e_click 170 472
undone=$(shotcost undone)
[ "$undone" != "$built" ] || e2e_fail "Undo did not change the cost shown"
e2e_key o
[ "$(shotcost redone)" = "$built" ] || e2e_fail "the o key did not redo"
e2e_key u
[ "$(shotcost undone2)" = "$undone" ] || e2e_fail "the u key did not undo"
e2e_click 250 472
[ "$(shotcost redone2)" = "$built" ] || e2e_fail "the Redo button did not redo"
editor_stop

# Copy the triangle, mirror it and stamp it centred on (1030, 44).
editor_drag 996 36 1012 56
e2e_key c
e2e_key x
e2e_move "$(vx 1030)" "$(vy 44)"
e2e_frames 0.3
e2e_shot "$WORK/pasting.png"
e2e_click "$(vx 1030)" "$(vy 44)"
editor_stop
editor_save tools1
want() { grep -q "\[1, $1, $2\]" <<<"$joints" || e2e_fail "no free joint at ($1, $2) in $3: $joints"; }
joints=$(editor_joints tools1)
# The copy centre is the mean of the beam ends (1002.7, 44) on the grid:
# (1002, 44). Mirrored, the post stands right of it and the foot reaches left.
want 1000 40 "the original"
want 1008 40 "the original"
want 1032 40 "the mirrored copy"
want 1032 52 "the mirrored copy"
want 1024 40 "the mirrored copy"
grep -q '\[1, 1036, 40\]' <<<"$joints" && e2e_fail "the copy was not mirrored: $joints"

# Delete a rectangle around the copy and the right anchor: the copy goes,
# the anchor and the original stay.
editor_drag 1018 30 1060 58
e2e_key Delete
e2e_frames
editor_save tools2
joints=$(editor_joints tools2)
grep -q '\[0, 1056, 32\]' <<<"$joints" || e2e_fail "Delete removed the anchor: $joints"
grep -q '\[1, 10[23][0-9], ' <<<"$joints" && e2e_fail "Delete left a free joint of the copy: $joints"
want 1000 52 "what is left"
e2e_alive || e2e_fail "the game ended"
e2e_pass
