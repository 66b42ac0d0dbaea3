#!/usr/bin/env bash
# Start game on a pack of two levels: the second is dimmed and cannot be
# chosen until the first is passed; choosing the first opens the editor, and
# leaving it writes the bridge and the pack's progress.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/menus_lib.bash"
e2e_init "$@"

# Only our own packs, so that Test is pack 0 whatever ships in data/. The
# second pack is longer than the screen and has every level passed.
rm -rf "$DATA/level" "$DATA/bridge"
mkdir -p "$DATA/level/Test" "$DATA/level/Zlong" "$DATA/bridge"
menus_level "$DATA/level/Test/first.qzl"
menus_level "$DATA/level/Test/second.qzl"
for i in $(seq -w 1 30); do menus_level "$DATA/level/Zlong/level$i.qzl"; done
for i in $(seq 64); do printf '\001\000\000\000'; done >"$DATA/bridge/Zlong.pro"

# Level rows at y 80 and 96 from x 320. Open entries are drawn at half
# brightness (about 125), locked ones at a quarter (about 62).
row_open() { [ "$(menus_lit 320 "$1" 60 16)" -gt 100 ]; }
row_locked() { local v; v=$(menus_lit 320 "$1" 60 16); [ "$v" -gt 20 ] && [ "$v" -lt 90 ]; }

e2e_start
e2e_key s
menus_until 5 row_open 80 || e2e_fail "the first level is not listed as open"
row_locked 96 || e2e_fail "the second level is not dimmed"

# Clicking the locked level opens nothing and saves nothing.
e2e_click 330 100
e2e_frames 1
row_locked 96 || e2e_fail "the screen changed after clicking a locked level"
row_open 80 || e2e_fail "the screen changed after clicking a locked level"

# The first level opens the editor; leaving it saves the bridge and progress.
e2e_click 330 84
menus_until 5 eval '! row_open 80' || e2e_fail "the editor did not open"
e2e_key Escape
e2e_wait_file "$DATA/bridge/Test/first.qzb" 5 || e2e_fail "no bridge saved on return from the editor"
e2e_wait_file "$DATA/bridge/Test.pro" 5 || e2e_fail "no progress file written"
size=$(stat -c %s "$DATA/bridge/Test.pro")
[ "$size" = 256 ] || e2e_fail "progress file holds $size bytes"
menus_until 5 row_open 80 || e2e_fail "leaving the editor did not return to the list"

# Mark the first level passed, as a passed test would, and come back: the
# second level is open now and can be played.
e2e_key Escape
menus_until 5 eval '! row_open 80' || e2e_fail "Escape did not leave the start menu"
{ printf '\001\000\000\000'; head -c 252 /dev/zero; } >"$DATA/bridge/Test.pro"
e2e_key s
menus_until 5 row_open 96 || e2e_fail "the second level stays dimmed after the first was passed"
e2e_click 330 100
menus_until 5 eval '! row_open 96' || e2e_fail "the unlocked level did not open"
e2e_key Escape
e2e_wait_file "$DATA/bridge/Test/second.qzb" 5 || e2e_fail "no bridge saved for the second level"
# The progress read at the start was written back unchanged.
[ "$(head -c 4 "$DATA/bridge/Test.pro" | od -An -tx1 | tr -d ' ')" = 01000000 ] ||
  e2e_fail "the first level's progress was lost"

# A pack longer than the screen scrolls with the wheel: its last level is
# reached in the bottom row and played.
menus_until 5 row_open 80 || e2e_fail "leaving the editor did not return to the list"
e2e_click 10 100
e2e_move 400 300
e2e_wheel down 8
e2e_frames
e2e_click 330 452
menus_until 5 eval '! row_open 80' || e2e_fail "the bottom row did not open"
e2e_key Escape
e2e_wait_file "$DATA/bridge/Zlong/level30.qzb" 5 || e2e_fail "the last level of a long pack was not reached"

# Escape leaves the start menu, Escape again ends the game cleanly.
menus_until 5 row_open 80 || e2e_fail "leaving the editor did not return to the list"
e2e_key Escape
menus_until 5 eval '! row_open 80' || e2e_fail "Escape did not leave the start menu"
e2e_alive || e2e_fail "Escape in the start menu ended the game"
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the game did not end"
[ "$GAME_STATUS" = 0 ] || e2e_fail "exit status $GAME_STATUS"
e2e_pass
