# Window-test harness: runs the real game under Xvfb with Mesa's software
# OpenGL, drives it with xdotool and checks screenshots and written files.
# Source it from a test script that CTest runs as
#   bash tests/e2e/<name>.sh <build dir> <source dir>
#
#   . "$(dirname "$0")/lib.sh"
#   e2e_init "$@"            # temp work dir with a copy of data/, traps cleanup
#   e2e_start                # Xvfb + the game; waits for its window
#   e2e_click 320 400        # virtual 640x480 coordinates
#   e2e_key Escape
#   e2e_wait_exit 10 || e2e_fail "did not exit"
#   e2e_pass
#
# Variables set for the script:
#   BUILD, SRC     the two arguments
#   GAME           the game binary ($BUILD/spanwright)
#   WORK           temporary directory under BUILD (or E2E_TMP), removed on
#                  exit (kept when E2E_KEEP=1)
#   DATA           $WORK/data: the game's working directory (a copy of data/)
#   GAME_STATUS    exit status after e2e_wait_exit succeeded
#   WID            X window id of the game window after e2e_start
#
# Functions:
#   e2e_init BUILD SRC       set up; skips the test (exit 0 with "SKIP") when
#                            the game or the X tools are missing
#   e2e_start [WxH]          start Xvfb (screen WxH, default 1280x1024) on a
#                            free display and the game in $DATA; fails the
#                            test when no window titled "Spanwright" appears
#   e2e_start_game           start the game again on the running Xvfb
#   e2e_window_size          print "W H" of the game window in pixels
#   e2e_move X Y             move the pointer to virtual (X, Y), scaled to the
#                            window's current size
#   e2e_click X Y [button]   move, then press and release with the button
#                            held for a few frames (default button 1)
#   e2e_key KEY...           press each key (xdotool names: Escape, Return,
#                            o, F8, ...) and hold it for a few frames: the
#                            game reads key state once a frame, so a press
#                            and release within one frame is never seen
#   e2e_type TEXT            type TEXT one held key at a time
#   e2e_wheel up|down [n]    n wheel notches (default 1)
#   e2e_close                ask the window to close (WM_DELETE_WINDOW), as
#                            a window manager's close button does
#   e2e_shot FILE.png        screenshot of the game window
#   e2e_pixel FILE X Y       print "R G B" (0-255) of the pixel at window
#                            pixel (X, Y) of a screenshot
#   e2e_mean FILE X Y W H    print the mean brightness (0-255) of a window-
#                            pixel region of a screenshot
#   e2e_vmean FILE X Y W H   the same with virtual 640x480 coordinates
#   e2e_vmax FILE X Y W H    the brightest pixel (0-255) of a virtual-
#                            coordinate region: is anything drawn there?
#   e2e_wait_file PATH [s]   wait until PATH exists (default 10 s); 1 if not
#   e2e_wait_exit [s]        wait for the game to end (default 10 s); sets
#                            GAME_STATUS; returns 1 when it is still running
#   e2e_alive                0 while the game process runs
#   e2e_frames [s]           wait s seconds (default 0.5) for frames to pass
#   e2e_fail MESSAGE         print the message, keep the last screenshot as
#                            $BUILD/e2e-failures/<test>.png, exit 1
#   e2e_pass                 print PASS and exit 0
#
# Everything started here (Xvfb, the game) is killed on exit by a trap.

E2E_NAME=$(basename "${0%.sh}")
E2E_HOLD=${E2E_HOLD:-0.15}

e2e_log() { echo "[$E2E_NAME] $*"; }

e2e_skip() {
  e2e_log "SKIP: $*"
  exit 0
}

e2e_fail() {
  e2e_log "FAIL: $*"
  if [ -n "${DISPLAY:-}" ] && [ -n "${WID:-}" ] && e2e_alive; then
    mkdir -p "$BUILD/e2e-failures"
    e2e_shot "$BUILD/e2e-failures/$E2E_NAME.png" 2>/dev/null &&
      e2e_log "screen kept in $BUILD/e2e-failures/$E2E_NAME.png"
  fi
  if [ -s "$WORK/game.err" ]; then
    e2e_log "game stderr:"
    sed 's/^/    /' "$WORK/game.err" | tail -20
  fi
  exit 1
}

e2e_pass() {
  e2e_log PASS
  exit 0
}

e2e_cleanup() {
  if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
    kill "$GAME_PID" 2>/dev/null
    sleep 0.2
    kill -9 "$GAME_PID" 2>/dev/null
  fi
  if [ -n "${XVFB_PID:-}" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  if [ "${E2E_KEEP:-0}" = 1 ]; then
    e2e_log "work directory kept: $WORK"
  elif [ -n "${WORK:-}" ] && [ -d "$WORK" ]; then
    rm -rf "$WORK"
  fi
}

e2e_init() {
  BUILD=$(cd "${1:?build dir}" && pwd)
  SRC=$(cd "${2:?source dir}" && pwd)
  GAME="$BUILD/spanwright"
  [ -x "$GAME" ] || e2e_skip "no game binary in $BUILD"
  for tool in Xvfb xdotool xwininfo import convert cc; do
    command -v "$tool" >/dev/null 2>&1 || e2e_skip "$tool is not installed"
  done
  # Under the build directory, so that clearing one tree of leftovers never
  # pulls the files from under a run of another tree.
  WORK=$(mktemp -d "${E2E_TMP:-$BUILD}/e2e-$E2E_NAME.XXXXXX")
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  DATA="$WORK/data"
  mkdir -p "$DATA"
  cp -R "$SRC/data/." "$DATA/"
  rm -f "$DATA/config.txt" "$DATA"/scsht*.tga
  export LIBGL_ALWAYS_SOFTWARE=1
  # The sanitizer build reports leaks of the X and GL libraries at exit,
  # which are not ours; anything else still fails the run.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  e2e_buildhelper
}

# A close request as a window manager sends it: the WM_DELETE_WINDOW client
# message, which SDL turns into its quit event. xdotool has no such command
# in every version, so the harness builds the dozen lines it needs.
e2e_buildhelper() {
  cat >"$WORK/closewindow.c" <<'CEOF'
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char **argv) {
  if (argc != 2) return 2;
  Display *d = XOpenDisplay(NULL);
  if (!d) return 1;
  Window w = (Window)strtoul(argv[1], NULL, 0);
  XEvent e = {0};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XSync(d, False);
  XCloseDisplay(d);
  return 0;
}
CEOF
  cc -O1 -o "$WORK/closewindow" "$WORK/closewindow.c" -lX11 2>"$WORK/closewindow.log" ||
    e2e_skip "cannot build the close-request helper (libx11-dev missing?)"
}

e2e_start_xvfb() {
  local screen=${1:-1280x1024}
  # -displayfd lets the server pick a free display number itself, so
  # parallel tests never collide.
  : >"$WORK/display"
  Xvfb -displayfd 9 -screen 0 "${screen}x24" -nolisten tcp -noreset 9>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.1
  done
  [ -s "$WORK/display" ] || e2e_fail "Xvfb reported no display"
  export DISPLAY=":$(head -n1 "$WORK/display")"
}

e2e_start_game() {
  (cd "$DATA" && exec "$GAME" >"$WORK/game.out" 2>"$WORK/game.err") &
  GAME_PID=$!
  GAME_STATUS=
  WID=
  local i
  for i in $(seq 150); do
    WID=$(xdotool search --onlyvisible --name '^Spanwright$' 2>/dev/null | head -n1)
    [ -n "$WID" ] && break
    e2e_alive || e2e_fail "the game ended before its window appeared"
    sleep 0.1
  done
  [ -n "$WID" ] || e2e_fail "no window titled Spanwright appeared"
  # SDL opens the OpenGL window by replacing the first one it made; only the
  # mapped window is the one that stays.
  # Without a window manager keyboard focus follows the pointer; put both on
  # the game window.
  xdotool mousemove --window "$WID" 1 1 2>/dev/null
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
  e2e_frames 1
}

e2e_start() {
  e2e_start_xvfb "${1:-}"
  e2e_start_game
}

e2e_alive() {
  [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null
}

e2e_frames() {
  sleep "${1:-0.5}"
}

e2e_window_size() {
  xwininfo -id "$WID" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}'
}

e2e_scale() {
  local x=$1 y=$2 w h
  read -r w h < <(e2e_window_size)
  echo $((x * w / 640)) $((y * h / 480))
}

e2e_move() {
  local px py
  read -r px py < <(e2e_scale "$1" "$2")
  xdotool mousemove --window "$WID" "$px" "$py"
  sleep 0.05
}

e2e_click() {
  local button=${3:-1}
  e2e_move "$1" "$2"
  e2e_frames 0.1
  xdotool mousedown "$button"
  sleep "$E2E_HOLD"
  xdotool mouseup "$button"
  sleep "$E2E_HOLD"
}

e2e_key() {
  local key
  for key in "$@"; do
    xdotool keydown "$key"
    sleep "$E2E_HOLD"
    xdotool keyup "$key"
    sleep "$E2E_HOLD"
  done
}

e2e_type() {
  local text=$1 i ch
  for ((i = 0; i < ${#text}; i++)); do
    ch=${text:i:1}
    case "$ch" in
    ' ') ch=space ;;
    '.') ch=period ;;
    '-') ch=minus ;;
    '_') ch=underscore ;;
    '/') ch=slash ;;
    ',') ch=comma ;;
    esac
    e2e_key "$ch"
  done
}

e2e_wheel() {
  local button=4 n=${2:-1} i
  [ "$1" = down ] && button=5
  for ((i = 0; i < n; i++)); do
    xdotool click "$button"
    sleep 0.02
  done
}

e2e_close() {
  "$WORK/closewindow" "$WID"
}

e2e_shot() {
  timeout 20 import -silent -window "$WID" "$1"
}

e2e_pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)] %[fx:int(255*p{'"$2,$3"'}.g)] %[fx:int(255*p{'"$2,$3"'}.b)]' info:
}

e2e_mean() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace gray -format '%[fx:int(255*mean)]' info:
}

e2e_vmean() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  e2e_mean "$1" $(($2 * w / 640)) $(($3 * h / 480)) $(($4 * w / 640)) $(($5 * h / 480))
}

e2e_vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}

e2e_wait_file() {
  local i limit=$(((${2:-10}) * 10))
  for ((i = 0; i < limit; i++)); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

e2e_wait_exit() {
  local i limit=$(((${1:-10}) * 10))
  for ((i = 0; i < limit; i++)); do
    if ! e2e_alive; then
      wait "$GAME_PID"
      GAME_STATUS=$?
      GAME_PID=
      return 0
    fi
    sleep 0.1
  done
  return 1
}
