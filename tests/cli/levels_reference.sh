#!/usr/bin/env bash
# Every shipped level is proven and the campaign climbs. Three bridges are
# kept with the tests for each level (never shipped): the reference, the
# cheapest regular truss found (regular/, R, written by makelevels; a level
# where one need not fit may have none that holds) and the cheapest bridge
# the search found (cheapest/, C). Each passes intact, with the train called at
# every second 0 to 6, on exactly the shipped level; the reference is within
# the budget B. The budgets make a curve:
#   - first pack (teaching) and the first half of the second: B >= R, so
#     the first truss a player draws fits;
#   - second half of the second pack: C < B < R, thought is needed;
#   - third pack (experts): C <= B <= 1.1 C;
#   - within a pack, each level either needs more (C grows) or leaves less
#     room, (B - C) / C smaller than the level before it.
# Also: the empty level fails; no bridge of a pack solves another of its
# levels; pack and level names fit and are in playing order.
set -eu
build=$(cd "$1" && pwd); src=$(cd "$2" && pwd)
verify="$build/spanwright-verify"
[ -x "$verify" ] || { echo "FAIL: no $verify" >&2; exit 1; }
levels="${LEVELS_DIR:-$src/data/level}"; refs="${BRIDGES_DIR:-$src/tests/levels}"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The level record and the anchors of a file, without its name and the
# player's joints and beams; traintime is left out because the test run
# writes it into every bridge. Both read the output of --describe.
levelpart() {
  sed -e 's/^{"file": "[^"]*", //' -e 's/"traintime": [0-9]*, //' -e 's/, "joints".*//' <<<"$1"
}
anchors() {
  sed -e 's/.*"joints": //' -e 's/"beams".*//' <<<"$1" | grep -o '\[0, [-0-9.e]*, [-0-9.e]*\]' | sort
}

# proven FILE LEVEL WHAT: holds the proof, built on exactly LEVEL; echoes
# the cost.
proven() {
  local out status built
  out=$("$verify" --proof "$1") && status=0 || status=$?
  [ "$status" -eq 0 ] || { echo "FAIL: $3 does not pass intact (status $status): $out" >&2; return 1; }
  built=$("$verify" --describe "$1")
  [ "$(levelpart "$built")" = "$(levelpart "$2")" ] || { echo "FAIL: $3 is built on another level" >&2; return 1; }
  [ "$(anchors "$built")" = "$(anchors "$2")" ] || { echo "FAIL: $3 has other anchors" >&2; return 1; }
  echo $(($(sed 's/.*"beams": //' <<<"$built" | grep -o '\[[0-9]*, [0-9]*, [0-9]*\]' | wc -l) * 100))
}

numofpacks=0; numoflevels=0
while IFS= read -r pack; do
  numofpacks=$((numofpacks + 1))
  [ ${#pack} -le 27 ] || fail "pack name '$pack' does not fit the progress file name"
  position=0 prevc=0 prevb=0
  while IFS= read -r file; do
    name=$(basename "$file" .qzl)
    numoflevels=$((numoflevels + 1)) position=$((position + 1))
    [ ${#name} -le 12 ] || fail "$pack/$name: longer than the editor's File box"
    # Names begin with the playing position, 01 on, so byte order is playing order.
    [ "${name:0:3}" = "$(printf '%02d ' $position)" ] || fail "$pack/$name: not at position $position"
    shipped=$("$verify" --describe "$file")
    b=$(sed -n 's/.*"budget": \([0-9]*\).*/\1/p' <<<"$shipped")
    # Where a regular truss must fit, one must hold; elsewhere a level may be
    # one that no regular truss holds at all (spanwright-verify --regular
    # finds none): R is then unbounded.
    r=$((1 << 30))
    fits=$((numofpacks == 1 || (numofpacks == 2 && position <= 6)))
    ref=$(proven "$refs/$pack/$name.qzb" "$shipped" "$pack/$name: reference") &&
      c=$(proven "$refs/$pack/cheapest/$name.qzb" "$shipped" "$pack/$name: cheapest") &&
      { [ "$fits" -eq 0 ] && [ ! -e "$refs/$pack/regular/$name.qzb" ] ||
        r=$(proven "$refs/$pack/regular/$name.qzb" "$shipped" "$pack/$name: regular"); } ||
      { failures=$((failures + 1)); continue; }
    [ "$ref" -le "$b" ] || fail "$pack/$name: reference costs $ref of $b"
    [ "$c" -le "$ref" ] && [ "$c" -le "$r" ] || fail "$pack/$name: cheapest $c dearer than reference $ref or regular $r"
    if [ "$fits" -eq 1 ]; then
      [ "$b" -ge "$r" ] || fail "$pack/$name: budget $b below the regular truss $r where one must fit"
    elif [ "$numofpacks" -eq 2 ]; then
      [ "$b" -gt "$c" ] && [ "$b" -lt "$r" ] || fail "$pack/$name: budget $b not between the cheapest $c and the regular truss $r"
    else
      [ $((b * 10)) -le $((c * 11)) ] || fail "$pack/$name: budget $b more than 10 % above the cheapest $c"
    fi
    # More to build, or less room: (b - c) / c below (prevb - prevc) / prevc.
    [ "$position" -eq 1 ] || [ "$c" -gt "$prevc" ] || [ $(((b - c) * prevc)) -lt $(((prevb - prevc) * c)) ] ||
      fail "$pack/$name: neither dearer nor tighter than the level before it ($c of $b after $prevc of $prevb)"
    prevc=$c prevb=$b

    # Without the player's beams the train does not get across. Half a
    # minute of test time is plenty: it reaches the gap in a few seconds.
    "$verify" --seconds 30 "$file" >/dev/null && status=0 || status=$?
    [ "$status" -eq 1 ] || fail "$pack/$name: the empty level gives status $status, not a fail"
  done < <(find "$levels/$pack" -maxdepth 1 -name '*.qzl' | LC_ALL=C sort)
  # Each level its own puzzle: no reference, cheapest or regular bridge of
  # the pack also passes another of its levels within that level's budget.
  for kind in "$refs/$pack" "$refs/$pack/regular"; do
    out=$("$verify" --pack "$levels/$pack" --bridges "$kind" --cheapest-dir "$refs/$pack/cheapest" --cross) && status=0 || status=$?
    ! grep -q '^repeat' <<<"$out" || fail "$pack: $(grep '^repeat' <<<"$out")"
    [ "$status" -eq 0 ] || [ "$kind" != "$refs/$pack" ] || fail "$pack: $(grep -i 'fail\|not' <<<"$out")"
  done
done < <(cd "$levels" && find . -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort)

[ "$numofpacks" -ge 3 ] || fail "only $numofpacks map packs"
[ "$numoflevels" -ge 36 ] || fail "only $numoflevels levels"
[ "$failures" -eq 0 ] || exit 1
echo "$numoflevels levels in $numofpacks packs proven"
