#!/usr/bin/env bash
# Saves cut off midway never cost the player the previous file. The game's
# own save, as spanwright-verify --cheapest writes the bridge it found, runs
# under a file-size limit in blocks of 1024 bytes (0 stops the first write,
# 1 cuts the bridge of about 2.2 KB in the middle): once killed by the
# limit's signal, once with the signal ignored so that the write itself
# fails, and then the save must say so and leave no temporary behind. Every
# time the previous file must be intact. Progress, settings, records and
# screenshots are saved through the same two calls, whose failure paths the
# unit tests walk.
set -u
verify="$(cd "$1" && pwd)/spanwright-verify"
data="$(cd "$2" && pwd)/tests/cli/data"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# A bridge already at its cheapest, so that each search ends at once (any
# pass counts: whether it also holds intact is not what is tested here).
cp "$(find "$2/tests/levels" -path '*/cheapest/*.qzb' | sort | head -n1)" "$tmp/t.qzb"
cp "$data/deckonly.qzb" "$tmp/out.qzb"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
save=("$verify" --cheapest "$tmp/t.qzb" --allow-breaks --out "$tmp/out.qzb")
for limit in 0 1; do
  { (ulimit -f $limit; exec "${save[@]}" >/dev/null 2>&1); } 2>/dev/null
  status=$?
  [ $status -ge 128 ] || fail "limit $limit: the save was not killed (status $status)"
  cmp -s "$tmp/out.qzb" "$data/deckonly.qzb" || fail "limit $limit: the previous file changed after a kill"
  (trap '' XFSZ; ulimit -f $limit; exec "${save[@]}" >/dev/null 2>&1)
  status=$?
  [ $status = 2 ] || fail "limit $limit: a failed write gave status $status, not 2"
  cmp -s "$tmp/out.qzb" "$data/deckonly.qzb" || fail "limit $limit: the previous file changed after a failed write"
  [ ! -e "$tmp/<out.qzb" ] || fail "limit $limit: a temporary left after a failed write"
done
# Without a limit the same save goes through: the checks above could fail.
"${save[@]}" >/dev/null || fail "the unlimited save failed"
cmp -s "$tmp/out.qzb" "$data/deckonly.qzb" && fail "the unlimited save did not change the file"
[ $failures = 0 ] && echo "every interrupted save kept the previous file"
