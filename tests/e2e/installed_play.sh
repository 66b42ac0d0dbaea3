#!/usr/bin/env bash
# The installed game as a new player meets it: install into a temporary
# prefix, start the launcher with a fresh XDG_DATA_HOME, play the first level
# of the first pack by drawing its reference bridge with the mouse, pass it,
# and find the bridge and the progress in the per-user directory.
#
# The F8 screenshots taken on the way become the README's pictures: they are
# converted to PNG in $BUILD/docs, and copied to docs/ in the source tree when
# SPANWRIGHT_UPDATE_DOCS=1.
# Keys are held a little longer than usual: a software-rendered frame under
# load can outlast the default hold, and a press no frame saw is lost.
export E2E_HOLD=${E2E_HOLD:-0.3}
. "$(dirname "$0")/lib.sh"
e2e_init "$@"

prefix="$WORK/prefix"
cmake --install "$BUILD" --prefix "$prefix" >"$WORK/install.log" 2>&1 ||
  e2e_fail "cmake --install failed: $(tail -5 "$WORK/install.log")"
export XDG_DATA_HOME="$WORK/xdg"
user="$XDG_DATA_HOME/spanwright"
pack="1 Riverside"
level="01 Ditch"
[ -f "$prefix/share/spanwright/level/$pack/$level.qzl" ] || e2e_fail "the first level is not installed"
GAME="$prefix/bin/spanwright"
e2e_start
[ -f "$user/level/$pack/$level.qzl" ] || e2e_fail "the launcher did not copy the packs"

# F8 until the expected screenshot file appears.
shoot() {
  local i
  for i in 1 2 3; do
    e2e_key F8
    e2e_wait_file "$1" 3 && return 0
  done
  return 1
}

# Start Game, the first pack, its first level.
e2e_key s
e2e_frames
e2e_click 20 84
e2e_frames
e2e_click 330 84
e2e_frames 1

# The editor opens with the camera on (1024, deck height) at distance 64: a
# world point (x, y) is at virtual (320 + 5 (x - 1024), 240 - 5 (y - 64)).
vx() { echo $((320 + 5 * ($1 - 1024))); }
vy() { echo $((240 - 5 * ($1 - 64))); }
at() { e2e_click "$(vx "$1")" "$(vy "$2")"; e2e_frames 0.2; }
stop() { e2e_click 320 440 3; e2e_frames 0.2; }
# The reference bridge: a deck of two beams from anchor to anchor and a
# triangle over each half, joined at the top.
at 1008 64; at 1024 64; at 1040 64; at 1032 80; at 1024 64; at 1016 80; at 1008 64; stop
at 1016 80; at 1032 80; stop
e2e_move 600 60
e2e_frames
shoot "$user/scsht000.tga" || e2e_fail "F8 in the editor wrote no screenshot"

# Test, Run Train; a screenshot while the train is on the bridge, then very
# fast until it is across, and Next Level, which returns to the start menu.
e2e_key t
e2e_frames 1
e2e_key t
e2e_frames 3
shoot "$user/scsht001.tga" || e2e_fail "F8 in the test run wrote no screenshot"
e2e_key v
bridge="$user/bridge/$pack/$level.qzb"
for i in $(seq 30); do
  e2e_key n
  [ -f "$bridge" ] && break
  e2e_frames 1
done
[ -f "$bridge" ] || e2e_fail "the level was not passed (no Next Level)"
e2e_wait_file "$user/bridge/$pack.pro" 5 || e2e_fail "no progress file"
[ "$(head -c 4 "$user/bridge/$pack.pro" | od -An -tx1 | tr -d ' ')" = 01000000 ] ||
  e2e_fail "the first level is not marked passed"
[ -d "$user/bridge/$pack" ] && [ ! -L "$user/bridge/$pack" ] || e2e_fail "bridge pack is not a real directory"

# The saved bridge is the one drawn, and it passes on its own.
if [ -x "$prefix/bin/spanwright-verify" ]; then
  out=$("$prefix/bin/spanwright-verify" "$bridge") || e2e_fail "the saved bridge does not pass: $out"
  grep -q "cost 700 of budget" <<<"$out" || e2e_fail "the saved bridge is not the reference: $out"
fi

# Back to the main menu and out; the game writes its settings there.
e2e_key Escape
e2e_frames
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the game did not exit from the main menu"
[ "$GAME_STATUS" = 0 ] || e2e_fail "the game exited with status $GAME_STATUS"
[ -f "$user/config.txt" ] || e2e_fail "no settings written into the data directory"

# A later start, with a player far into the second pack: the launcher keeps
# the progress and the bridge, and the start menu opens the saved bridge with
# its level. Its test run, in the stress view, is the README's second picture.
pack2="2 Highlands"
level2="10 Two Piers"
mkdir -p "$user/bridge/$pack2"
cp "$SRC/tests/levels/$pack2/$level2.qzb" "$user/bridge/$pack2/"
{ for i in $(seq 9); do printf '\001\000\000\000'; done; head -c 220 /dev/zero; } >"$user/bridge/$pack2.pro"
e2e_start_game
e2e_key s
e2e_frames
e2e_click 20 100
e2e_frames
e2e_click 330 228
e2e_frames 1
e2e_key t
e2e_frames 1
e2e_key r
e2e_key t
e2e_frames 3.5
shoot "$user/scsht002.tga" || e2e_fail "F8 in the second test run wrote no screenshot"
e2e_key Escape
e2e_frames
e2e_key Escape
e2e_frames
e2e_key Escape
e2e_frames
e2e_key Escape
e2e_wait_exit 10 || e2e_fail "the game did not exit after the second start"
[ "$(head -c 4 "$user/bridge/$pack2.pro" | od -An -tx1 | tr -d ' ')" = 01000000 ] ||
  e2e_fail "the second start lost the player's progress"

# TGA screenshots are stored bottom row first; -auto-orient turns them up.
mkdir -p "$BUILD/docs"
convert "$user/scsht000.tga" -auto-orient "$BUILD/docs/editor.png"
convert "$user/scsht002.tga" -auto-orient "$BUILD/docs/testrun.png"
for f in editor testrun; do
  mean=$(convert "$BUILD/docs/$f.png" -colorspace gray -format '%[fx:int(255*mean)]' info:)
  spread=$(convert "$BUILD/docs/$f.png" -colorspace gray -format '%[fx:int(255*standard_deviation)]' info:)
  [ "$spread" -gt 2 ] || e2e_fail "the $f screenshot is blank (mean $mean)"
done
if [ "${SPANWRIGHT_UPDATE_DOCS:-0}" = 1 ]; then
  cp "$BUILD/docs/editor.png" "$BUILD/docs/testrun.png" "$SRC/docs/"
fi
e2e_pass
