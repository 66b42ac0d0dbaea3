#!/usr/bin/env bash
# Saves cut off midway never cost the player the previous file: a bridge, a
# level, the progress file and "config.txt" are saved under a file-size limit,
# once killed by the limit's signal in the middle of writing and once with the
# signal ignored so that the write itself fails. Every time the previous file
# must be intact, and a failed write must be reported and leave no temporary.
set -u
build=$(cd "$1" && pwd)
helper="$build/tests/fuzz/spanwright-savehelper"
[ -x "$helper" ] || { echo "missing $helper"; exit 1; }
data=$(mktemp -d "${TMPDIR:-/tmp}/spanwright-savefail-XXXXXX")
trap 'rm -rf "$data"' EXIT
cd "$data"
"$helper" seed || { echo "seeding failed"; exit 1; }

files=(bridge/Pack/b.qzb level/Pack/l.qzl bridge/Pack.pro config.txt)
kinds=(bridge level progress config)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for i in "${!kinds[@]}"; do
  kind=${kinds[$i]} file=${files[$i]}
  cp "$file" "$data.before"
  # The limit is in blocks of 1024 bytes: 0 stops the first write, 16 cuts a
  # bridge or level of 16383 joints (~400 KB) in the middle.
  limits="0 16"
  [ "$kind" = progress ] || [ "$kind" = config ] && limits=0
  for limit in $limits; do
    # killed by SIGXFSZ in the middle of the save
    { (ulimit -f "$limit"; exec "$helper" "$kind"); } 2>/dev/null
    status=$?
    [ "$status" -ge 128 ] || fail "$kind, limit $limit: expected the save to be killed, status $status"
    cmp -s "$file" "$data.before" || fail "$kind, limit $limit: previous file changed after a kill"
    # the signal ignored: the write fails, the save says so and cleans up
    { (trap '' XFSZ; ulimit -f "$limit"; exec "$helper" "$kind"); } 2>/dev/null
    status=$?
    [ "$status" -eq 2 ] || fail "$kind, limit $limit: expected a reported failure, status $status"
    cmp -s "$file" "$data.before" || fail "$kind, limit $limit: previous file changed after a failed write"
    [ ! -e "$(dirname "$file")/<$(basename "$file")" ] || fail "$kind: temporary left after a failed write"
  done
  # without a limit the same save goes through: the checks above could fail
  "$helper" "$kind" || fail "$kind: unlimited save failed"
  cmp -s "$file" "$data.before" && fail "$kind: unlimited save did not change the file"
  [ ! -e "$(dirname "$file")/<$(basename "$file")" ] || fail "$kind: temporary left after a save"
  "$helper" seed >/dev/null || fail "reseeding failed"
done
rm -f "$data.before"
[ "$failures" -eq 0 ] && echo "all interrupted saves kept the previous file"
exit $(( failures > 0 ))
