#!/usr/bin/env bash
# Start game on a pack of two levels: the second is dimmed and cannot be
# chosen until the first is passed; choosing the first opens the editor, and
# leaving it writes the bridge and the pack's progress.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Only our own pack, so that it is pack 0 whatever ships in data/.
rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Test" "$DATA/bridge"
shipped=$(find "$SRC/data/level" -name '*.qzl' 2>/dev/null | sort | head -n1)
for name in first second; do
  if [ -n "$shipped" ]; then cp "$shipped" "$DATA/level/Test/$name.qzl"; else : >"$DATA/level/Test/$name.qzl"; fi
done

# The brightest pixel of a virtual-screen region: a label's brightness
# without its length getting in the way.
vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}

e2e_start
e2e_key s
e2e_frames
e2e_move 600 400
e2e_frames
e2e_shot "$WORK/list.png"
# Level rows at y 80 and 96, x from 320; the locked one is drawn at half
# the brightness of the open one.
open=$(vmax "$WORK/list.png" 320 80 60 16)
locked=$(vmax "$WORK/list.png" 320 96 60 16)
e2e_log "open row $open, locked row $locked"
[ "$open" -gt 0 ] || e2e_fail "the first level is not drawn"
[ "$locked" -gt 0 ] || e2e_fail "the locked level is not drawn at all"
[ $((locked * 3)) -lt $((open * 2)) ] || e2e_fail "the second level is not dimmed"

# Clicking the locked level opens nothing and saves nothing.
e2e_click 330 100
e2e_frames 1
[ -e "$DATA/bridge/Test/second.qzb" ] && e2e_fail "a locked level was played"
e2e_move 600 400
e2e_frames
e2e_shot "$WORK/after-locked.png"
still=$(vmax "$WORK/after-locked.png" 320 96 60 16)
[ "$still" -lt "$open" ] || e2e_fail "the screen changed after clicking a locked level"

# The first level opens the editor; leaving it saves the bridge and progress.
e2e_click 330 84
e2e_frames 1
e2e_shot "$WORK/editor.png"
e2e_key Escape
e2e_wait_file "$DATA/bridge/Test/first.qzb" 5 || e2e_fail "no bridge saved on return from the editor"
e2e_wait_file "$DATA/bridge/Test.pro" 5 || e2e_fail "no progress file written"
size=$(stat -c %s "$DATA/bridge/Test.pro")
[ "$size" = 256 ] || e2e_fail "progress file holds $size bytes"
e2e_alive || e2e_fail "Escape in the editor ended the game"

# Mark the first level passed, as a passed test would, and come back: the
# second level is open now and can be played.
e2e_key Escape
e2e_frames
{ printf '\001\000\000\000'; head -c 252 /dev/zero; } >"$DATA/bridge/Test.pro"
e2e_key s
e2e_frames
e2e_move 600 400
e2e_frames
e2e_shot "$WORK/unlocked.png"
now=$(vmax "$WORK/unlocked.png" 320 96 60 16)
[ $((now * 3)) -ge $((open * 2)) ] || e2e_fail "the second level stays dimmed after the first was passed ($now)"
e2e_click 330 100
e2e_frames 1
e2e_key Escape
e2e_wait_file "$DATA/bridge/Test/second.qzb" 5 || e2e_fail "the unlocked level could not be played"
# The progress read at the start was written back unchanged.
[ "$(head -c 4 "$DATA/bridge/Test.pro" | od -An -tx1 | tr -d ' ')" = 01000000 ] ||
  e2e_fail "the first level's progress was lost"

# Escape leaves the start menu, Escape again ends the game cleanly.
e2e_key Escape
e2e_frames
e2e_alive || e2e_fail "Escape in the start menu ended the game"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the game did not end"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
e2e_pass
