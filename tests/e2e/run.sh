#!/usr/bin/env bash
# Window tests: runs one scenario against the real game under Xvfb with
# Mesa's software OpenGL, driven by xdotool.
#
#   bash tests/e2e/run.sh <build dir> <source dir> <scenario.scn>
#
# A scenario is a list of steps, one per line; blank lines and lines
# starting with # are skipped. Every line is a shell line run in the game's
# data directory (a fresh copy of data/ without config.txt or screenshots),
# so any shell command is a step too, and a line whose status is not 0 fails
# the scenario with its file and line number. Loops fit on one line:
#   for x in 240 280; do click $x 240; done
#
# Coordinates are virtual 640x480 screen points, scaled to the window's size.
#
# Starting and ending
#   start [WxH [DEPTH]]   start the game (and Xvfb, 1920x1280, the first
#                         time); with a size, write a config.txt for it
#                         first. Waits until the window is up.
#   close                 the window system's close request
#   exits [STATUS]        wait for the game to end with STATUS (default 0);
#                         a game not ended so must still be running when
#                         the scenario ends
#   size W H              the window is W x H pixels ($(winsize) prints them)
#   other                 start a second copy of the game on the same data
#                         directory, its window beside the first; once both
#                         run, switch to the other one. Every later step
#                         (input, pictures, close, exits) drives the copy
#                         switched to.
# Input (each press is held, and its release seen, for $HOLD seconds, 0.12 or
# $E2E_HOLD: the game reads input state once a frame, and a press no frame
# saw is lost)
#   click X Y [BUTTON]    default button 1; 3 is the right button
#   move X Y              move the pointer and let a frame pass
#   wheel up|down [N]     N wheel notches
#   key KEY...            press each key in turn (xdotool names: Escape,
#                         Return, F8, period, ...)
#   hold KEY / release KEY    keep a key down over the following steps
#   type TEXT             type TEXT one key at a time
#   wait [SECONDS]        let frames pass (default 0.5)
# World points in the editor, for the camera as it opens on a crossing whose
# joints all lie at the deck height 32: 5 virtual pixels per world unit,
# x 1024 at the centre, the deck 26 rows below it (the opening view centres
# the crossing between the rows of text, not on the screen)
#   path X Y [X Y]...     left click each world point in turn
#   wdrag X1 Y1 X2 Y2     drag between two world points, left button held
#   save NAME             the File box: type NAME over the old name, Save
#   passes                Test, Run Train at the very fast speed, until
#                         "Test Passed" shows (white at the top centre;
#                         "Test Failed" there is red, well under 200 in grey)
# Pictures, kept as $WORK/NAME.png
#   shot NAME             an F8 screenshot (the game's own file, without the
#                         cursor); the TGA is moved to $WORK/NAME.tga
#   grab NAME             the window as the X server shows it (with cursor)
#   region NAME X Y W H MIN [MAX]   the brightest grey (0-255) in the
#                         rectangle lies in MIN..MAX (default 255)
#   pixel NAME X Y R G B  the pixel's colour, each part within 12
#   ring NAME             the first break's yellow ring is in the picture
#   differ A B [X Y W H]  the two pictures differ (in the rectangle)
#   same A B [X Y W H]    the two pictures agree (in the rectangle);
#                         $(differs A B [X Y W H]) counts the pixels that differ
# Waiting on a condition (up to $WAIT seconds, default 10; a step prefixed
# with WAIT=90 waits longer)
#   await STEP...         repeat the step until it succeeds
#   see STEP...           grab "now" and run the step, until it succeeds:
#                         see region now 240 160 160 32 200
# Files (paths relative to the data directory)
#   file PATH             PATH appears (waits up to $WAIT seconds)
#   contains PATH REGEX   a line of PATH matches the extended REGEX
#   bytes PATH HEX        PATH appears and starts with these bytes (01000000)
#   verify PATH           PATH appears and spanwright-verify passes it
#   describe PATH         PATH appears; its --describe output is kept in
#                         $WORK/NAME.txt, NAME its file name less the ending
#   peak PATH             prints the largest magnitude of the 16-bit samples
#                         of a raw sound stream (SDL's disk audio)
# Variables: BUILD, SRC, WORK (scratch, removed afterwards unless E2E_KEEP=1),
# DATA (the data directory), GAME (the binary started), E2E (this directory).
# E2E_TRACE=1 logs each line with the seconds passed. A failed scenario
# keeps its last window picture in <build>/e2e-failures/<scenario>.png.
set -u
BUILD=$(cd "${1:?build dir}" && pwd)
SRC=$(cd "${2:?source dir}" && pwd)
SCENARIO=$(cd "$(dirname "${3:?scenario}")" && pwd)/$(basename "$3")
E2E=$(cd "$(dirname "$0")" && pwd)
NAME=$(basename "$SCENARIO" .scn)
GAME="$BUILD/spanwright"
HOLD=${E2E_HOLD:-0.12}
WAIT=10
LINE=0

log() { echo "[$NAME] $*"; }
fail() {
  log "FAIL at $NAME.scn:$LINE: $*"
  alive && mkdir -p "$BUILD/e2e-failures" && grab "../e2e-failures/$NAME" && log "window kept in $BUILD/e2e-failures/$NAME.png"
  [ -s "$WORK/game.err" ] && sed 's/^/    /' "$WORK/game.err" | tail -20
  exit 1
}
cleanup() {
  [ -n "${GAME_PID:-}" ] && { kill -9 "$GAME_PID" && builtin wait "$GAME_PID"; } 2>/dev/null
  [ -n "${OTHER_PID:-}" ] && { kill -9 "$OTHER_PID" && builtin wait "$OTHER_PID"; } 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && builtin wait "$XVFB_PID" 2>/dev/null
  if [ "${E2E_KEEP:-0}" = 1 ]; then log "work directory kept: $WORK"; else rm -rf "$WORK"; fi
}

[ -x "$GAME" ] || { log "SKIP: no game in $BUILD"; exit 77; }
tools="Xvfb xdotool xwininfo import convert compare cc"
[ "$(command -v $tools | wc -l)" = 7 ] || { log "SKIP: one of $tools is not installed"; exit 77; }
# Under the build directory, so that clearing one tree never pulls the files
# from under a run in another.
WORK=$(mktemp -d "$BUILD/e2e-$NAME.XXXXXX")
trap cleanup EXIT
trap 'exit 130' INT TERM
DATA="$WORK/data"
mkdir -p "$DATA" && cp -R "$SRC/data/." "$DATA/" && rm -f "$DATA/config.txt" "$DATA"/scsht*.tga
export LIBGL_ALWAYS_SOFTWARE=1
# Never the desktop the tests were started from: the first start makes Xvfb.
unset DISPLAY
# The display stack keeps allocations to the end of the process that are not
# ours to free; memory errors and undefined behaviour still halt the game.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# The close request a window manager's close button sends: xdotool cannot
# send WM_DELETE_WINDOW in every version.
printf '%s\n' '#include <X11/Xlib.h>' '#include <stdlib.h>' \
  'int main(int c, char **v) { Display *d = XOpenDisplay(0); XEvent e = {0}; if (c != 2 || !d) return 1;' \
  ' e.xclient.type = ClientMessage; e.xclient.window = strtoul(v[1], 0, 0); e.xclient.format = 32;' \
  ' e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", 0);' \
  ' e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", 0);' \
  ' XSendEvent(d, e.xclient.window, 0, 0, &e); XSync(d, 0); return 0; }' >"$WORK/close.c"
cc -o "$WORK/close" "$WORK/close.c" -lX11 2>/dev/null || { log "SKIP: cannot build against libX11"; exit 77; }

startxvfb() {
  # -displayfd: the server picks a free display itself, so runs never collide.
  Xvfb -displayfd 9 -screen 0 "${1}x24" -nolisten tcp -noreset 9>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  until [ -s "$WORK/display" ]; do
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb did not start: $(cat "$WORK/xvfb.log")"; return 1; }
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$WORK/display")"
}
start() {
  [ $# -ge 1 ] && printf 'screenwidth=%s\r\nscreenheight=%s\r\ncolordepth=%s\r\nfullscreen=0\r\ndirectory=0\r\n' \
    "${1%x*}" "${1#*x}" "${2:-32}" >"$DATA/config.txt"
  [ -n "${DISPLAY:-}" ] || startxvfb "${E2E_SCREEN:-1920x1280}" || return 1
  (exec "$GAME" >"$WORK/game${COPY:-}.out" 2>"$WORK/game${COPY:-}.err") &
  GAME_PID=$!
  WID=
  local i
  for i in $(seq 200); do
    # SDL replaces its first window when it sets the OpenGL mode; only the
    # mapped one stays.
    WID=$(xdotool search --onlyvisible --name '^Spanwright$' 2>/dev/null | grep -vx "${OTHER_WID:-none}" | tail -n1)
    [ -n "$WID" ] && xwininfo -id "$WID" >/dev/null 2>&1 && break
    alive || { echo "the game ended before its window appeared"; return 1; }
    sleep 0.1
  done
  [ -n "$WID" ] || { echo "no window titled Spanwright"; return 1; }
  focus 0.5
}
# Without a window manager the keyboard focus follows the pointer.
focus() { xdotool mousemove --window "$WID" 1 1 && xdotool windowfocus --sync "$WID" 2>/dev/null; sleep "$1"; }
other() {
  local pid=${OTHER_PID:-} wid=${OTHER_WID:-}
  OTHER_PID=${GAME_PID:-} OTHER_WID=${WID:-}
  if [ -z "$pid" ]; then
    COPY=2 start || return 1
    xdotool windowmove "$WID" 960 0 sleep 0.2
  else
    GAME_PID=$pid WID=$wid
  fi
  focus 0.3
}
alive() { [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; }
close() { "$WORK/close" "$WID"; }
exits() {
  await eval '! alive' || { echo "the game is still running"; return 1; }
  builtin wait "$GAME_PID"
  local status=$? && GAME_PID=
  [ "$status" = "${1:-0}" ] || { echo "exit status $status"; return 1; }
}
winsize() { xwininfo -id "$WID" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}'; }
size() { [ "$(winsize)" = "$1 $2" ] || { echo "the window is $(winsize)"; return 1; }; }

# Virtual to window pixels, as "X Y".
px() { local w h; read -r w h < <(winsize) && echo $(($1 * w / 640)) $(($2 * h / 480)); }
move() { xdotool mousemove --window "$WID" $(px "$1" "$2") sleep 0.1; }
# One xdotool run per press: a press is held, and the release seen, for a
# few frames each.
press() { xdotool "${1}down" "$2" sleep "$HOLD" "${1}up" "$2" sleep "$HOLD"; }
click() { xdotool mousemove --window "$WID" $(px "$1" "$2") sleep 0.05 mousedown "${3:-1}" sleep "$HOLD" mouseup "${3:-1}" sleep "$HOLD"; }
wheel() { xdotool click --repeat "${2:-1}" $([ "$1" = up ] && echo 4 || echo 5) sleep "$HOLD"; }
key() { local k; for k in "$@"; do press key "$k" || return 1; done; }
hold() { xdotool keydown "$1" sleep "$HOLD"; }
release() { xdotool keyup "$1" sleep "$HOLD"; }
type() {
  local i c
  for ((i = 0; i < ${#1}; i++)); do
    c=${1:i:1}
    case "$c" in ' ') c=space ;; '.') c=period ;; '-') c=minus ;; '_') c=underscore ;; '/') c=slash ;; esac
    key "$c" || return 1
  done
}
wait() { sleep "${1:-0.5}"; }

vx() { echo $((320 + ($1 - 1024) * 5)); }
vy() { echo $((266 - ($1 - 32) * 5)); }
path() { while [ $# -ge 2 ]; do click $(vx $1) $(vy $2) || return 1; shift 2; done; }
wdrag() {
  xdotool mousemove --window "$WID" $(px $(vx $1) $(vy $2)) sleep 0.05 mousedown 1 sleep "$HOLD" \
    mousemove --window "$WID" $(px $(vx $((($1 + $3) / 2))) $(vy $((($2 + $4) / 2)))) sleep "$HOLD" \
    mousemove --window "$WID" $(px $(vx $3) $(vy $4)) sleep "$HOLD" mouseup 1 sleep "$HOLD"
}
save() { key F1 Return && type "$1" && key Return && click 330 40; }
passes() { key t && see region now 560 0 80 16 100 && key t v && WAIT=90 see region now 280 0 80 16 200; }

# F8 fills the first free number, through a temporary file renamed whole.
shot() {
  local n=0 f
  while f=$(printf scsht%03d.tga $n) && [ -e "$f" ]; do n=$((n + 1)); done
  key F8 && file "$f" && mv "$f" "$WORK/$1.tga" &&
    convert "$WORK/$1.tga" -auto-orient "$WORK/$1.png" # rows are stored bottom first
}
grab() { timeout 20 import -silent -window "$WID" "$WORK/$1.png"; }

# A virtual rectangle of picture NAME as ImageMagick geometry.
crop() {
  local w h; read -r w h < <(identify -format '%w %h' "$WORK/$1.png")
  echo "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))"
}
grey() { # NAME X Y W H: the brightest grey
  convert "$WORK/$1.png" -crop "$(crop "$@")" +repage -colorspace gray -format "%[fx:int(255*maxima)]" info:
}
inrange() { # what value MIN [MAX]
  [ "$2" -ge "$3" ] && [ "$2" -le "${4:-255}" ] || { echo "$1 is $2, not $3..${4:-255}"; return 1; }
}
region() { inrange "brightest grey of $1 ($2 $3 $4 $5)" "$(grey "${@:1:5}")" "${@:6}"; }
pixel() {
  local i got=($(convert "$WORK/$1.png" -crop "$(crop "$1" "$2" "$3" 1 1)" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:))
  for i in 0 1 2; do [ $(((got[i] - ${@:4+i:1}) ** 2)) -le 144 ] || { echo "pixel ($2, $3) of $1 is ${got[*]}"; return 1; }; done
}
differs() { # A B [X Y W H]: the number of pixels that differ
  local area=${3:+[$(crop "$1" "${@:3}")]}
  compare -metric AE -fuzz 3% "$WORK/$1.png$area" "$WORK/$2.png$area" null: 2>&1 | cut -d' ' -f1
}
# The yellow ring on the first break, in the part of picture NAME below the
# goal and above the buttons.
ring() { [ "$(convert "$WORK/$1.png" -crop "$(crop "$1" 0 80 640 360)" +repage -channel B -negate -channel R -threshold 90% -channel G -threshold 75% -channel B -threshold 65% +channel -separate -evaluate-sequence min -format '%[fx:int(mean*w*h)]' info:)" -gt 100 ]; }
differ() { [[ "$(differs "$@")" =~ ^[1-9][0-9]*$ ]] || { echo "$1 and $2 are the same"; return 1; }; }
same() { [ "$(differs "$@")" = 0 ] || { echo "$1 and $2 differ"; return 1; }; }

await() {
  local end=$((SECONDS + WAIT)) out
  until out=$("$@" 2>&1); do [ "$SECONDS" -lt "$end" ] || { echo "$out"; return 1; } && sleep 0.25; done
}
seestep() { grab now && "$@"; }
see() { await seestep "$@"; }

file() { await test -e "$1" || { echo "no file $1"; return 1; }; }
contains() { grep -Eq -- "$2" "$1" || { echo "$1 lacks $2: $(head -c 300 "$1")"; return 1; }; }
bytes() { file "$1" && [ "$(od -An -tx1 -N$((${#2} / 2)) "$1" | tr -d ' \n')" = "$2" ] || { echo "$1 starts $(od -An -tx1 -N8 "$1")"; return 1; }; }
verify() { file "$1" && "$BUILD/spanwright-verify" "$1" >"$WORK/verify.out" 2>&1 || { echo "$(cat "$WORK/verify.out")"; return 1; }; }
describe() { file "$1" && "$BUILD/spanwright-verify" --describe "$1" >"$WORK/$(basename "${1%.*}").txt"; }
peak() { od -An -v -td2 -w2 "$1" | awk '{v = $1 < 0 ? -$1 : $1; if (v > m) m = v} END {print m + 0}'; }

# Each line runs in a function, so that "|| return" ends a loop as a failure.
step() { eval "$1"; }
cd "$DATA" || exit 1
while IFS= read -r line || [ -n "$line" ]; do
  LINE=$((LINE + 1))
  [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
  [ -z "${E2E_TRACE:-}" ] || log "$SECONDS s, line $LINE: $line"
  step "$line" || fail "$line"
done <"$SCENARIO"
[ -z "${GAME_PID:-}" ] || alive || fail "the game ended by itself"
grep -Eq 'AddressSanitizer|runtime error' "$WORK"/game*.err 2>/dev/null && fail "a sanitizer report"
log PASS
