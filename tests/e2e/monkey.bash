# The monkey's input and its checks, sourced by monkey.scn inside run.sh.
# A seeded stream: the same seed always makes the same actions (bash's own
# generator, drawn only in this shell: a $(...) subshell would draw from a
# copy). Clicks favour the rows where the screens keep their items, keys the
# hotkeys of the menus, the editor and the test run.
MONKEY_KEYS=(s l b o t r e n p f v m d u c x z q w a g k period F1 F2 F3 F4 F8 Delete BackSpace
  Return Tab Home End Left Right Up Down space minus 0 5 9 ctrl+z shift+a KP_Enter Escape)
MONKEY_WORDS=(a 42 -1 99999999999 0.5 "my level" ../x ../../y a/b 1e9 . ..)

# Root-window points: an options change may make the window full-screen on
# the 800x600 screen, where these cover the same pixels.
mroot() { xdotool mousemove $(($1 * 800 / 640)) $(($2 * 600 / 480)); }
mpoint() {
  local r=$((RANDOM % 10))
  MX=$((RANDOM % 640)) MY=$((RANDOM % 480))
  case $r in [012]) MY=$((RANDOM % 20)) ;; [34]) MY=$((440 + RANDOM % 40)) ;; [56]) MX=$(((RANDOM % 2) * 320 + RANDOM % 160)) ;; esac
}
mact() {
  local r=$((RANDOM % 100)) x y
  mpoint
  if [ $r -lt 35 ]; then
    echo "click $MX $MY"; mroot $MX $MY; press mouse $(((RANDOM % 5 == 0) ? 3 : 1))
  elif [ $r -lt 47 ]; then
    x=$MX y=$MY; mpoint; echo "drag $x $y $MX $MY"
    mroot $x $y; xdotool mousedown 1; sleep "$HOLD"; mroot $MX $MY; sleep "$HOLD"; xdotool mouseup 1
  elif [ $r -lt 53 ]; then
    echo wheel; xdotool click --repeat $((1 + RANDOM % 8)) $((4 + RANDOM % 2))
  elif [ $r -lt 90 ]; then
    x=${MONKEY_KEYS[RANDOM % ${#MONKEY_KEYS[@]}]}; echo "key $x"; press key "$x"
  elif [ $r -lt 96 ]; then
    x=${MONKEY_WORDS[RANDOM % ${#MONKEY_WORDS[@]}]}; echo "type $x"; type "$x"
  elif [ $r -lt 99 ]; then
    echo "key Escape"; press key Escape
  else
    echo close; close
  fi
}

# A game that ended with status 0 (Escape on the main menu, a close request)
# is started again; any other end is a crash.
mended() { alive || { exits 0 && ! grep -Eq 'Sanitizer|runtime error' $WORK/game.err && start; }; }

# Run for MONKEY_SECONDS (60); every 25 actions the game must still draw
# frames: the cursor follows the pointer within a second.
monkey() {
  local seed=${MONKEY_SEED:-$([ -n "${CI:-}" ] && echo 4242 || echo $((RANDOM * RANDOM)))} end n=0
  log "seed $seed (rerun with MONKEY_SEED=$seed)"
  RANDOM=$seed end=$((SECONDS + ${MONKEY_SECONDS:-60}))
  while [ $SECONDS -lt $end ]; do
    mended && mact >>$WORK/actions || { cp $WORK/actions "$BUILD/monkey-$seed.txt"; log "actions in $BUILD/monkey-$seed.txt"; return 1; }
    n=$((n + 1))
    [ $((n % 25)) = 0 ] && mended && mroot 600 300 && sleep 1 && grab p1 && mroot 40 40 && sleep 1 &&
      { ! alive || see differ p1 now 36 36 32 32 || return 1; }
  done
  log "$n actions"
}

# Every file the game wrote loads: settings, levels, bridges and progress
# (screenshots are checked in startup.scn), and no temporary save file is
# left.
monkeyfiles() {
  local f
  grep -Pzq '^(\w+=-?[0-9]+\r\n){5,6}$' config.txt || { echo "config.txt: $(od -c config.txt)"; return 1; }
  while IFS= read -r -d '' f; do
    case "$f" in
    *.qzl | *.qzb | *.lvl | *.brg) "$BUILD/spanwright-verify" --describe "$f" >/dev/null || return 1 ;;
    *.pro) [ $(($(stat -c %s "$f") % 4)) = 0 ] && ! od -An -tu4 -v "$f" | grep -qE '[2-9]|1[0-9]' || return 1 ;;
    *'/<'*) echo "temporary left: $f"; return 1 ;;
    esac
  done < <(find . -type f -newer $WORK/marker -print0)
}
