#!/usr/bin/env bash
# Saves cut off midway never cost the player the previous file. The game's
# own save, as spanwright-verify --cheapest writes the bridge it found, runs
# under a file-size limit in blocks of 1024 bytes (0 stops the first write,
# 1 cuts the bridge of about 2.2 KB in the middle). The tool does not die of
# the limit's signal: the write fails, the save says so with status 2 and
# leaves no temporary behind, and the previous file is intact. Progress,
# settings, records and screenshots are saved through the same two calls,
# whose failure paths the unit tests walk.
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
  [ $status = 2 ] || fail "limit $limit: a write past the limit gave status $status, not 2"
  cmp -s "$tmp/out.qzb" "$data/deckonly.qzb" || fail "limit $limit: the previous file changed after a failed write"
  [ ! -e "$tmp/<out.qzb" ] || fail "limit $limit: a temporary left after a failed write"
done
# Without a limit the same save goes through: the checks above could fail.
"${save[@]}" >/dev/null || fail "the unlimited save failed"
cmp -s "$tmp/out.qzb" "$data/deckonly.qzb" && fail "the unlimited save did not change the file"
[ $failures = 0 ] && echo "every interrupted save kept the previous file"
