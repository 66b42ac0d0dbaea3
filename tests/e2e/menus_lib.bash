# Helpers of the menu window tests, sourced after lib.sh.

# The brightest grey level (0-255) in a virtual-screen region of a
# screenshot: how lit a label is, without its length getting in the way as
# it does in a mean.
e2e_vmax() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$(($4 * w / 640))x$(($5 * h / 480))+$(($2 * w / 640))+$(($3 * h / 480))" \
    +repage -colorspace gray -format '%[fx:int(255*maxima)]' info:
}

# A level file at PATH: a copy of the first shipped level, or an empty file
# (which the loaders refuse, leaving the editor on the default level) when
# none ships.
menus_level() {
  local shipped
  shipped=$(find "$SRC/data/level" -name '*.qzl' 2>/dev/null | sort | head -n1)
  if [ -n "$shipped" ]; then cp "$shipped" "$1"; else : >"$1"; fi
}

# The game's window id again if the one found at start-up has gone: on a slow
# start the first, short-lived window SDL makes can still be the visible one
# when the harness looks.
menus_window() {
  xwininfo -id "$WID" >/dev/null 2>&1 && return 0
  local found
  found=$(xdotool search --onlyvisible --name '^Spanwright$' 2>/dev/null | tail -n1)
  [ -n "$found" ] && WID=$found
}

# Run a check until it holds or SECONDS pass: a loaded machine draws frames
# late, and a screenshot taken too early shows the screen before.
menus_until() {
  local limit=$(($1 * 4)) i
  shift
  for ((i = 0; i < limit; i++)); do
    menus_window
    "$@" && return 0
    sleep 0.25
  done
  return 1
}

# Brightness of a virtual-screen region in a fresh screenshot, with the
# pointer parked where it covers no label.
menus_lit() {
  e2e_move 600 400
  e2e_shot "$WORK/lit.png"
  e2e_vmax "$WORK/lit.png" "$@"
}
