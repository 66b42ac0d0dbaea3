#!/usr/bin/env bash
# Every shipped level is proven: its reference bridge (kept with the tests,
# never shipped) gets the train across in spanwright-verify, is built on
# exactly the shipped level with no extra anchors, costs no more than the
# level's budget and at least 70% of it; and the level with no player beams
# fails. Also the pack and level names: enough of them, in playing order,
# short enough for the File box and the progress file name.
set -eu
build=$(cd "$1" && pwd); src=$(cd "$2" && pwd)
verify="$build/spanwright-verify"
[ -x "$verify" ] || { echo "FAIL: no $verify" >&2; exit 1; }
levels="$src/data/level"; refs="$src/tests/levels"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The level record and the anchors of a file, without its name and the
# player's joints and beams; traintime is left out because the test run
# writes it into every bridge.
# Both read the output of --describe.
levelpart() {
  sed -e 's/^{"file": "[^"]*", //' -e 's/"traintime": [0-9]*, //' -e 's/, "joints".*//' <<<"$1"
}
anchors() {
  sed -e 's/.*"joints": //' -e 's/"beams".*//' <<<"$1" | grep -o '\[0, [-0-9.e]*, [-0-9.e]*\]' | sort
}
field() { sed -n "s/.*\"$2\": \\([-0-9]*\\).*/\\1/p" <<<"$1"; }

numofpacks=0; numoflevels=0
while IFS= read -r pack; do
  numofpacks=$((numofpacks + 1))
  [ ${#pack} -le 27 ] || fail "pack name '$pack' does not fit the progress file name"
  previous=""
  while IFS= read -r file; do
    name=$(basename "$file" .qzl)
    numoflevels=$((numoflevels + 1))
    [ ${#name} -le 12 ] || fail "$pack/$name: longer than the editor's File box"
    # Names begin with the playing position, so byte order is playing order.
    [[ "$name" =~ ^[0-9][0-9]\  ]] || fail "$pack/$name: no position prefix"
    [ -z "$previous" ] || [ "$((10#${name:0:2}))" -eq "$((10#${previous:0:2} + 1))" ] ||
      fail "$pack/$name does not follow $previous"
    previous=$name
    ref="$refs/$pack/$name.qzb"
    [ -f "$ref" ] || { fail "$pack/$name: no reference bridge"; continue; }

    # The reference passes, within budget, and uses most of it.
    set +e; out=$("$verify" "$ref"); status=$?; set -e
    [ "$status" -eq 0 ] || fail "$pack/$name: reference does not pass (status $status): $out"
    shipped=$("$verify" --describe "$file"); built=$("$verify" --describe "$ref")
    desc=$(levelpart "$shipped")
    budget=$(field "$desc" budget)
    cost=$(sed -n 's/.*cost \([0-9]*\) of budget.*/\1/p' <<<"$out")
    [ -n "$cost" ] && [ "$cost" -le "$budget" ] || fail "$pack/$name: reference costs $cost of $budget"
    [ -n "$cost" ] && [ $((cost * 100)) -ge $((budget * 70)) ] || fail "$pack/$name: reference uses under 70% of $budget"
    [ "$(levelpart "$built")" = "$desc" ] || fail "$pack/$name: reference is built on another level"
    [ "$(anchors "$built")" = "$(anchors "$shipped")" ] || fail "$pack/$name: reference has other anchors"

    # Without the player's beams the train does not get across. Half a
    # minute of test time is plenty: it reaches the gap in a few seconds.
    set +e; "$verify" --seconds 30 "$file" >/dev/null; status=$?; set -e
    [ "$status" -eq 1 ] || fail "$pack/$name: the empty level gives status $status, not a fail"
  done < <(find "$levels/$pack" -maxdepth 1 -name '*.qzl' | LC_ALL=C sort)
done < <(cd "$levels" && find . -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort)

[ "$numofpacks" -ge 2 ] || fail "only $numofpacks map packs"
[ "$numoflevels" -ge 20 ] || fail "only $numoflevels levels"
[ "$failures" -eq 0 ] || exit 1
echo "$numoflevels levels in $numofpacks packs proven"
