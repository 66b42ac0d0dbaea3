#!/usr/bin/env bash
# Every shipped level is proven and its budget bites: the reference bridge
# (kept with the tests, never shipped) gets the train across within budget on
# exactly the shipped level; the cheapest bridge found for it (cheapest/)
# passes too, and the budget is at most a fifth above it (half for the three
# teaching levels that open the first pack); the level with no player beams
# fails; no bridge of a pack solves another of its levels. Also the pack and
# level names: enough of them, in playing order, short enough for the File
# box and the progress file name.
set -eu
build=$(cd "$1" && pwd); src=$(cd "$2" && pwd)
verify="$build/spanwright-verify"
[ -x "$verify" ] || { echo "FAIL: no $verify" >&2; exit 1; }
levels="$src/data/level"; refs="$src/tests/levels"
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

# proven FILE LEVEL WHAT: passes, built on exactly LEVEL; echoes the cost.
proven() {
  local out status built
  out=$("$verify" "$1") && status=0 || status=$?
  [ "$status" -eq 0 ] || { echo "FAIL: $3 does not pass (status $status): $out" >&2; return 1; }
  built=$("$verify" --describe "$1")
  [ "$(levelpart "$built")" = "$(levelpart "$2")" ] || { echo "FAIL: $3 is built on another level" >&2; return 1; }
  [ "$(anchors "$built")" = "$(anchors "$2")" ] || { echo "FAIL: $3 has other anchors" >&2; return 1; }
  sed -n 's/.*cost \([0-9]*\) of budget.*/\1/p' <<<"$out"
}

numofpacks=0; numoflevels=0
while IFS= read -r pack; do
  numofpacks=$((numofpacks + 1))
  [ ${#pack} -le 27 ] || fail "pack name '$pack' does not fit the progress file name"
  position=0
  while IFS= read -r file; do
    name=$(basename "$file" .qzl)
    numoflevels=$((numoflevels + 1)) position=$((position + 1))
    [ ${#name} -le 12 ] || fail "$pack/$name: longer than the editor's File box"
    # Names begin with the playing position, 01 on, so byte order is playing order.
    [ "${name:0:3}" = "$(printf '%02d ' $position)" ] || fail "$pack/$name: not at position $position"
    shipped=$("$verify" --describe "$file")
    budget=$(sed -n 's/.*"budget": \([0-9]*\).*/\1/p' <<<"$shipped")
    ref=$(proven "$refs/$pack/$name.qzb" "$shipped" "$pack/$name: reference") || { failures=$((failures + 1)); continue; }
    [ "$ref" -le "$budget" ] || fail "$pack/$name: reference costs $ref of $budget"
    cheap=$(proven "$refs/$pack/cheapest/$name.qzb" "$shipped" "$pack/$name: cheapest") || { failures=$((failures + 1)); continue; }
    slack=20; [ "$numofpacks" -gt 1 ] || [ "${name:0:2}" -gt 3 ] || slack=50
    [ $((budget * 100)) -le $((cheap * (100 + slack))) ] ||
      fail "$pack/$name: budget $budget is more than $slack% above the cheapest bridge found, $cheap"

    # Without the player's beams the train does not get across. Half a
    # minute of test time is plenty: it reaches the gap in a few seconds.
    "$verify" --seconds 30 "$file" >/dev/null && status=0 || status=$?
    [ "$status" -eq 1 ] || fail "$pack/$name: the empty level gives status $status, not a fail"
  done < <(find "$levels/$pack" -maxdepth 1 -name '*.qzl' | LC_ALL=C sort)
  # Each level its own puzzle: no reference or cheapest bridge of the pack
  # also passes another of its levels within that level's budget.
  out=$("$verify" --pack "$levels/$pack" --bridges "$refs/$pack" --cheapest-dir "$refs/$pack/cheapest" --cross) ||
    fail "$pack: $(grep -i 'repeat\|fail\|not' <<<"$out")"
done < <(cd "$levels" && find . -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort)

[ "$numofpacks" -ge 3 ] || fail "only $numofpacks map packs"
[ "$numoflevels" -ge 36 ] || fail "only $numoflevels levels"
[ "$failures" -eq 0 ] || exit 1
echo "$numoflevels levels in $numofpacks packs proven"
