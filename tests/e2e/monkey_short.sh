#!/usr/bin/env bash
# The monkey: the real game fed a seeded random stream of clicks, drags,
# wheel notches, keys and typed words, from the main menu, with a data
# directory holding map packs, levels and the players' bridges. It passes
# when the game never crashes or trips a sanitizer, keeps drawing frames,
# writes nothing outside its data directory, and every settings, level,
# bridge, progress and screenshot file it leaves loads cleanly.
#
# A short run in CI; by hand, longer or with a given seed:
#   MONKEY_SECONDS=1800 MONKEY_SEED=1234 bash tests/e2e/monkey_short.sh <build> <source>
# A failing run prints its seed and keeps its action list in
# <build>/e2e-failures/monkey-<seed>.txt.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/monkey.bash"
e2e_init "$@"
E2E_HOLD=0.1 # a few frames; the key and button state is read once a frame

# CI replays one fixed stream so that a red run always means a change in
# the game; by hand every run explores a new one.
if [ -n "${CI:-}" ]; then
  SEED=${MONKEY_SEED:-4242}
else
  SEED=${MONKEY_SEED:-$(($(date +%s) % 100000))}
fi
LIMIT=${MONKEY_SECONDS:-60}
e2e_log "seed $SEED for $LIMIT s (rerun with MONKEY_SEED=$SEED)"

# Bridges for the shipped packs, so the load and start menus find some.
for pack in "$SRC/tests/levels"/*/; do
  [ -d "$pack" ] || continue
  name=$(basename "$pack")
  mkdir -p "$DATA/bridge/$name"
  cp "$pack"*.qzb "$DATA/bridge/$name/" 2>/dev/null
done
export HOME="$WORK/home"
mkdir -p "$HOME"
monkey_actions "$SEED" $((LIMIT * 6 + 200)) >"$WORK/actions.txt"
touch "$WORK/marker"
sleep 1 # file times have one-second steps on some file systems

monkey_fail() {
  mkdir -p "$BUILD/e2e-failures"
  head -n "$done" "$WORK/actions.txt" >"$BUILD/e2e-failures/monkey-$SEED.txt"
  e2e_log "seed $SEED; the $done actions done are in $BUILD/e2e-failures/monkey-$SEED.txt"
  [ -s "$WORK/all.err" ] && sed 's/^/    /' "$WORK/all.err" | tail -40
  e2e_fail "$1"
}

# The screen is the window's size, so a full-screen mode picked in the
# options menu covers exactly the same pixels: everything below works in
# root-window coordinates whatever the mode.
SW=800 SH=600
mmove() { xdotool mousemove $(($1 * SW / 640)) $(($2 * SH / 480)); }
mshot() { timeout 20 import -silent -window root "$1"; }

# A game that ended: status 0 (Escape on the main menu, a close request)
# is a normal end and the monkey starts it again; anything else is a crash.
restarts=0
collect() {
  cat "$WORK/game.err" >>"$WORK/all.err" 2>/dev/null
  if grep -q -E 'AddressSanitizer|LeakSanitizer|runtime error:|UndefinedBehaviorSanitizer' "$WORK/game.err" 2>/dev/null; then
    monkey_fail "a sanitizer reported an error"
  fi
}
checkended() {
  e2e_alive && return 0
  wait "$GAME_PID" 2>/dev/null
  local status=$?
  GAME_PID=
  collect
  [ "$status" = 0 ] || monkey_fail "the game died with status $status"
  restarts=$((restarts + 1))
  e2e_start_game
}

# Answering: the cursor is drawn at the pointer in the next frame. Two
# pictures a second apart with the pointer moved in between must differ
# where it went.
probes=0
probe() {
  mmove 600 300
  sleep 1
  mshot "$WORK/probe1.png"
  mmove 40 40
  sleep 1
  e2e_alive || return 0
  mshot "$WORK/probe2.png"
  local region=$((32 * SW / 640))x$((32 * SH / 480))+$((36 * SW / 640))+$((36 * SH / 480)) changed
  changed=$(compare -metric AE -fuzz 2% "$WORK/probe1.png[$region]" "$WORK/probe2.png[$region]" null: 2>&1 | cut -d' ' -f1)
  [[ "$changed" =~ ^[0-9]+$ ]] || changed=0
  [ "$changed" -gt 10 ] || { e2e_alive && monkey_fail "no new frame within a second (probe $probes)"; }
  probes=$((probes + 1))
}

e2e_start_xvfb "${SW}x${SH}"
e2e_start_game
start=$(date +%s)
done=0
while IFS= read -r line; do
  [ $(($(date +%s) - start)) -lt "$LIMIT" ] || break
  checkended
  set -- $line
  case "$1" in
  click)
    mmove "$2" "$3"
    xdotool mousedown "$4"; sleep "$E2E_HOLD"; xdotool mouseup "$4" ;;
  drag)
    mmove "$2" "$3"
    xdotool mousedown 1; sleep "$E2E_HOLD"
    mmove $((($2 + $4) / 2)) $((($3 + $5) / 2)); sleep 0.05
    mmove "$4" "$5"; sleep 0.05
    xdotool mouseup 1 ;;
  wheel)
    for ((i = 0; i < $3; i++)); do xdotool click $([ "$2" = up ] && echo 4 || echo 5); done ;;
  key)
    xdotool keydown "$2"; sleep "$E2E_HOLD"; xdotool keyup "$2" ;;
  type)
    shift
    e2e_type "$*" ;;
  close)
    WID=$(xdotool search --onlyvisible --name '^Spanwright$' 2>/dev/null | head -n1)
    [ -n "$WID" ] && e2e_close ;;
  esac
  done=$((done + 1))
  [ $((done % 25)) = 0 ] && { checkended; probe; cp "$WORK/probe2.png" "$WORK/probe-$probes.png" 2>/dev/null; }
done <"$WORK/actions.txt"

# Leave: close requests unwind every screen; the settings are then saved.
checkended
for attempt in 1 2 3; do
  WID=$(xdotool search --onlyvisible --name '^Spanwright$' 2>/dev/null | head -n1)
  if [ -n "$WID" ]; then e2e_close; else xdotool key Escape; fi
  e2e_wait_exit 10 && break
done
e2e_alive && monkey_fail "the game did not end on close requests"
[ "$GAME_STATUS" = 0 ] || { collect; monkey_fail "the game ended with status $GAME_STATUS"; }
collect
e2e_log "$done actions, $probes answering probes, $restarts restarts in $(($(date +%s) - start)) s"

# Nothing written outside the data directory.
outside=$(find "$WORK" -newer "$WORK/marker" -not -path "$DATA" -not -path "$DATA/*" \
  -not -name '*.png' -not -name 'game.*' -not -name all.err -not -name 'xvfb.log' -not -name display \
  -not -path "$WORK" -not -path "$HOME" -print)
outside+=$(find "$HOME" -mindepth 1 -print)
[ -z "$outside" ] || monkey_fail "files written outside the data directory: $outside"

# Everything it wrote loads.
lines='^screenwidth=-?[0-9]+\r\nscreenheight=-?[0-9]+\r\ncolordepth=-?[0-9]+\r\nfullscreen=-?[0-9]+\r\ndirectory=-?[0-9]+\r\n$'
grep -Pzq "$lines" "$DATA/config.txt" || monkey_fail "config.txt is not five settings lines: $(od -c "$DATA/config.txt" | head -5)"
checked=0
while IFS= read -r -d '' file; do
  case "$file" in
  *.qzl | *.qzb | *.lvl | *.brg)
    if [ -x "$BUILD/spanwright-verify" ]; then
      "$BUILD/spanwright-verify" --describe "$file" >/dev/null 2>"$WORK/verify.err" ||
        monkey_fail "$file does not load: $(cat "$WORK/verify.err")"
    fi ;;
  *.pro)
    size=$(stat -c %s "$file")
    [ $((size % 4)) = 0 ] && [ "$size" -le 256 ] || monkey_fail "progress file $file is $size bytes"
    od -An -tu4 -v "$file" | tr -s ' ' '\n' | grep -v -E '^(0|1)?$' >/dev/null &&
      monkey_fail "progress file $file holds flags other than 0 and 1" ;;
  *.tga)
    read -r w h < <(od -An -tu2 -j12 -N4 "$file")
    [ "$(stat -c %s "$file")" = $((18 + w * h * 3)) ] || monkey_fail "screenshot $file is cut short" ;;
  */'<'*)
    monkey_fail "a temporary save file was left: $file" ;;
  esac
  checked=$((checked + 1))
done < <(find "$DATA" -type f -newer "$WORK/marker" -print0)
e2e_log "$checked files written and checked"
e2e_pass
