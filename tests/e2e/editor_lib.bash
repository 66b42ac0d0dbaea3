# Editor helpers for the window tests, sourced after lib.sh. The editor
# opens a new level with its camera at (1024, 32) and distance 64: 0.2
# world units per virtual pixel, so an even world coordinate is a whole
# virtual pixel and the editor's snapping absorbs the window's rounding.

# A 640x480 window: a software-rendered frame is quicker to draw, so held
# keys and buttons are seen even on a loaded machine, and window pixels are
# virtual pixels.
editor_smallwindow() {
  printf 'screenwidth=640\r\nscreenheight=480\r\ncolordepth=32\r\nfullscreen=0\r\ndirectory=0\r\n' \
    >"$DATA/config.txt"
}

# World to virtual screen.
vx() { echo $((320 + ($1 - 1024) * 5)); }
vy() { echo $((240 - ($1 - 32) * 5)); }

# A click at a world point.
editor_at() { e2e_click "$(vx "$1")" "$(vy "$2")" "${3:-1}"; }

# Main menu -> Load Level -> New Level: the editor on the default level.
editor_newlevel() {
  e2e_key l
  e2e_frames 0.3
  e2e_key n
  e2e_frames 0.5
}

# Place anchors in the level editor with the period key held: x y pairs.
editor_anchors() {
  e2e_key F4
  xdotool keydown period
  while [ $# -ge 2 ]; do
    editor_at "$1" "$2"
    shift 2
  done
  xdotool keyup period
  e2e_frames 0.2
  e2e_key Escape
}

# Draw beams through the world points given as x y pairs: the first click
# picks the start joint, every further click builds a beam to the next.
editor_path() {
  while [ $# -ge 2 ]; do
    editor_at "$1" "$2"
    shift 2
  done
}

# A right click on empty sky ends drawing, rectangles and paste mode.
editor_stop() { editor_at 1030 70 3; }

# Drag a selection rectangle from one world point to another.
editor_drag() {
  e2e_move "$(vx "$1")" "$(vy "$2")"
  e2e_frames 0.1
  xdotool mousedown 1
  sleep "$E2E_HOLD"
  e2e_move "$(vx $((($1 + $3) / 2)))" "$(vy $((($2 + $4) / 2)))"
  sleep "$E2E_HOLD"
  e2e_move "$(vx "$3")" "$(vy "$4")"
  sleep "$E2E_HOLD"
  xdotool mouseup 1
  sleep "$E2E_HOLD"
}

# The File box: open it, type the name over the old one, Save. In the
# level editor this saves a level.
editor_savefile() {
  e2e_key F1
  e2e_key Return
  e2e_type "$1"
  e2e_key Return
  e2e_click 330 40
}

# Save the bridge and wait for its file in any pack.
editor_save() {
  editor_savefile "$1"
  local i
  for i in $(seq 50); do
    editor_bridgefile "$1" >/dev/null && return 0
    sleep 0.1
  done
  e2e_fail "no bridge file $1.qzb was saved"
}

editor_bridgefile() {
  local f
  f=$(find "$DATA/bridge" -name "$1.qzb" | head -n1)
  [ -n "$f" ] && echo "$f"
}

# The joints of a saved bridge as "[type, x, y]" entries.
editor_joints() {
  "$BUILD/spanwright-verify" --describe "$(editor_bridgefile "$1")" |
    sed -e 's/.*"joints": //' -e 's/, "beams".*//'
}

# A hash of the cost figure (right-aligned on virtual x 128, y 432).
costhash() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$((64 * w / 640))x$((16 * h / 480))+$((64 * w / 640))+$((432 * h / 480))" \
    +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}


# Mean brightness of the centred top text row of a virtual 640x480 image
# region, where the test run shows "Test Passed".
topmean() { e2e_vmean "$1" 280 0 80 16; }

# The same for an F8 screenshot. The TGA is stored bottom row first, which
# this ImageMagick reads as the top row, so it is flipped back first.
tgatopmean() {
  convert "$1" -flip "$WORK/tga.png"
  topmean "$WORK/tga.png"
}

# The test run's sky is about 70 bright; the white "Test Passed" centred
# at the top lifts that row well above it.
PASSEDMEAN=85

# Wait until the test run shows "Test Passed".
editor_wait_passed() {
  local limit=${1:-60} i now
  for ((i = 0; i < limit; i++)); do
    e2e_frames 1
    e2e_shot "$WORK/waiting.png"
    now=$(topmean "$WORK/waiting.png")
    [ "$now" -gt "$PASSEDMEAN" ] && return 0
  done
  return 1
}

# "Run Train" (key t) in the test run, pressed again while its label still
# shows at the top right: a press that falls between two slow frames is lost.
editor_runtrain() {
  local i before after
  e2e_shot "$WORK/torun.png"
  before=$(e2e_vmean "$WORK/torun.png" 560 0 80 16)
  for i in 1 2 3; do
    e2e_key t
    e2e_frames 1
    e2e_shot "$WORK/running.png"
    after=$(e2e_vmean "$WORK/running.png" 560 0 80 16)
    [ "$after" -lt $((before - 4)) ] && return 0
    e2e_log "the train has not started (label $before -> $after), pressing t again"
  done
  e2e_fail "Run Train did not start the train"
}

# "Test" (key t) in the editor, pressed again until the test run's lighter
# sky shows.
editor_starttest() {
  local i sky
  for i in 1 2 3; do
    e2e_key t
    e2e_frames 1
    e2e_shot "$WORK/testrun.png"
    sky=$(e2e_vmean "$WORK/testrun.png" 560 100 60 40)
    [ "$sky" -gt 55 ] && return 0
    e2e_log "no test run yet (sky $sky), pressing t again"
  done
  e2e_fail "Test did not open the test run"
}
