#!/usr/bin/env bash
# spanwright-verify end to end: a sound truss on piers passes under the
# default train, a bare deck fails, and unreadable input is refused with
# status 2 and a reason.
set -u
build=$1
source=$2
verify="$(cd "$build" && pwd)/spanwright-verify"
data="$(cd "$source" && pwd)/tests/cli/data"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { [ "$2" = "$3" ] || fail "$1: expected status $2, got $3"; } # description, expected, actual
expect() { grep -q -- "$2" "$3" || fail "$1: no '$2' in: $(head -c 2000 "$3")"; } # description, pattern, file

# The sound truss passes, and the run is repeatable to the bit.
"$verify" "$data/truss.qzb" >"$tmp/out" 2>&1; check "truss passes" 0 $?
expect "cost" "cost 4000 of budget 10000" "$tmp/out"
"$verify" --json --dump-steps 60,300 "$data/truss.qzb" >"$tmp/a.json"; check "truss json" 0 $?
"$verify" --json --dump-steps 60,300 "$data/truss.qzb" >"$tmp/b.json"
cmp -s "$tmp/a.json" "$tmp/b.json" || fail "two runs differ"
expect "json result" '"result": "passed"' "$tmp/a.json"
expect "train placed at step 60" '\[60, 2\]' "$tmp/a.json"
expect "dumps" '"dumps": {"60": \[\[992, 32\]' "$tmp/a.json"
expect "no breaks" '"broken_beams": \[\]' "$tmp/a.json"
expect "no failure" '"failure": null' "$tmp/a.json"

# A bare deck breaks under its own weight and the train never gets across.
"$verify" "$data/deckonly.qzb" >"$tmp/out" 2>&1; check "deck fails" 1 $?
expect "deck summary" "first break: beam" "$tmp/out"
"$verify" --json --seconds 20 "$data/deckonly.qzb" >"$tmp/c.json"; check "deck json" 1 $?
expect "deck stops at the verdict" '"passed_step": null, "failure": "fell"' "$tmp/c.json"
expect "deck summary reason" "failed: the train fell" "$tmp/out"
"$verify" --json --seconds 3 "$data/truss.qzb" >"$tmp/t.json"; check "out of time" 1 $?
expect "time verdict" '"steps": 180, "passed_step": null, "failure": "time"' "$tmp/t.json"
expect "deck breaks" '"broken_beams": \[\[[0-9]*, [0-9]*, [01]\]' "$tmp/c.json"

# A heavy train sinks the truss.
"$verify" --weight 2000000 --seconds 30 "$data/truss.qzb" >/dev/null 2>&1; check "heavy train on truss" 1 $?

# Progressive: the heaviest weight across is reported and is above the level's.
"$verify" --json --progressive --add 100000 "$data/truss.qzb" >"$tmp/p.json"; check "progressive" 0 $?
expect "max weight" '"max_weight": [1-9][0-9][0-9][0-9][0-9][0-9]' "$tmp/p.json"

# Refusals: missing, foreign, truncated, usage. (--describe is run by the campaign test.)
"$verify" "$tmp/missing.qzb" 2>"$tmp/err"; check "missing file" 2 $?
expect "missing reason" "missing.qzb" "$tmp/err"
printf 'NOTALEVEL' >"$tmp/bad.qzl"
"$verify" "$tmp/bad.qzl" 2>"$tmp/err"; check "foreign file" 2 $?
expect "foreign reason" "not a valid level or bridge file" "$tmp/err"
head -c 1000 "$data/truss.qzb" >"$tmp/short.qzb"
"$verify" "$tmp/short.qzb" 2>/dev/null; check "truncated file" 2 $?
"$verify" 2>"$tmp/err"; check "no file" 2 $?
expect "usage" "usage: spanwright-verify" "$tmp/err"
"$verify" --weight 0 "$data/truss.qzb" 2>/dev/null; check "weight 0" 2 $?
"$verify" --frobnicate "$data/truss.qzb" 2>/dev/null; check "unknown option" 2 $?

# The loader is run from the file's own directory and the caller's is kept.
(cd "$data" && "$verify" truss.qzb >/dev/null); check "relative name" 0 $?

[ $failures -eq 0 ] && echo "verify: all checks passed"
[ $failures -eq 0 ]
