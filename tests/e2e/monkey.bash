# Seeded random input for the monkey test. Sourced by monkey_*.sh.
#
#   monkey_actions SEED COUNT   print COUNT actions, one per line; the same
#                               seed always prints the same list (bash's
#                               own generator, seeded)
#
# Actions, in virtual 640x480 coordinates:
#   click X Y BUTTON      press and release (1 left, 3 right)
#   drag X1 Y1 X2 Y2      left button held from one point to another
#   wheel up|down N       wheel notches
#   key NAME              one key held for a few frames (xdotool name,
#                         possibly with a modifier: ctrl+z)
#   type TEXT             a word typed key by key (text boxes)
#   close                 the window system's close request
#
# Clicks favour the rows where the screens keep their items (the top and
# bottom rows and the lists down the left and the middle); keys favour the
# hotkeys of the menus, the editor and the test run.

MONKEY_KEYS=(a b c d e f g h i j k l m n o p q r s t u v w x y z
  0 1 2 3 4 5 6 7 8 9 F1 F2 F3 F4 F5 F6 F7 F8
  Delete BackSpace Return Tab shift+Tab Insert Home End Left Right Up Down
  space minus period ctrl+z ctrl+y ctrl+c ctrl+v ctrl+x KP_Enter)
MONKEY_HOTKEYS=(s l b o t r e n p f v m d u c x z F8 Delete Return)
MONKEY_WORDS=(a 7 42 -1 99999999999 0.5 bridge "my level" ../x a/b "" 1e9 . .. zz_test)

# Helpers return through MONKEY_OUT: a $(...) subshell would draw from a
# reseeded generator and the list would no longer follow the seed.
monkey_pick() { # array name
  local -n list=$1
  MONKEY_OUT=${list[RANDOM % ${#list[@]}]}
}

monkey_point() {
  local x y r=$((RANDOM % 10))
  x=$((RANDOM % 640))
  if [ "$r" -lt 3 ]; then
    y=$((RANDOM % 20))                       # top row of items
  elif [ "$r" -lt 5 ]; then
    y=$((440 + RANDOM % 40))                 # bottom rows
  elif [ "$r" -lt 7 ]; then
    x=$(((RANDOM % 2) * 320 + RANDOM % 160)) # list columns
    y=$((40 + RANDOM % 300))
  else
    y=$((RANDOM % 480))
  fi
  MONKEY_OUT="$x $y"
}

monkey_actions() {
  local seed=$1 count=$2 i r a b
  RANDOM=$seed
  for ((i = 0; i < count; i++)); do
    r=$((RANDOM % 100))
    if [ "$r" -lt 34 ]; then
      monkey_point
      echo "click $MONKEY_OUT $(((RANDOM % 5 == 0) ? 3 : 1))"
    elif [ "$r" -lt 46 ]; then
      monkey_point
      a=$MONKEY_OUT
      monkey_point
      echo "drag $a $MONKEY_OUT"
    elif [ "$r" -lt 52 ]; then
      a=up
      [ $((RANDOM % 2)) = 0 ] && a=down
      echo "wheel $a $((1 + RANDOM % 10))"
    elif [ "$r" -lt 72 ]; then
      monkey_pick MONKEY_HOTKEYS
      echo "key $MONKEY_OUT"
    elif [ "$r" -lt 90 ]; then
      monkey_pick MONKEY_KEYS
      echo "key $MONKEY_OUT"
    elif [ "$r" -lt 97 ]; then
      monkey_pick MONKEY_WORDS
      echo "type $MONKEY_OUT"
    elif [ "$r" -lt 99 ] || [ $((RANDOM % 4)) != 0 ]; then
      echo "key Escape" # leaves a screen; on the main menu, the game
    else
      echo close
    fi
  done
}
