#!/usr/bin/env bash
# spanwright-verify for level authors: --pack, a pack in playing order
# against the player's bridges beside it and the budget against the cheapest
# bridge; --cross, a bridge that also solves another level; --cheapest, the
# search for a cheaper bridge.
set -u
verify="$(cd "$1" && pwd)/spanwright-verify"
data="$(cd "$2" && pwd)/tests/cli/data"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { # expected status, then the arguments; the output is left in $tmp/out
  local want=$1; shift
  "$verify" "$@" >"$tmp/out" 2>&1; local got=$?
  [ "$got" = "$want" ] || fail "$* gave status $got, not $want: $(head -c 600 "$tmp/out")"
}
has() { grep -qF -- "$1" "$tmp/out" || fail "no '$1' in: $(head -c 600 "$tmp/out")"; }

# A level file is a bridge file's record; two levels, one bridge so far.
mkdir -p "$tmp/level/P" "$tmp/bridge/P" "$tmp/cheap"
cp "$data/truss.qzb" "$tmp/level/P/02 B.qzl"; cp "$data/truss.qzb" "$tmp/level/P/01 A.qzl"
cp "$data/truss.qzb" "$tmp/bridge/P/01 A.qzb"; cp "$data/deckonly.qzb" "$tmp/cheap/01 A.qzb"
run 1 --pack "$tmp/level/P" --cheapest-dir "$tmp/cheap"
has "01 A: passed, cost 4000 of budget 10000, budget 1150 % above the cheapest (800)"
has "02 B: no bridge"
has "not passed: 02 B (no bridge)"
[ "$(head -c 4 "$tmp/out")" = "01 A" ] || fail "not in list order"
run 1 --pack "$tmp/level/P" --bridges "$tmp/bridge/P" --json
has '"name": "02 B", "bridge": "missing", "passed": false, "failure": null'

# Both bridged: the pack passes, but each bridge also solves the other level.
cp "$data/truss.qzb" "$tmp/bridge/P/02 B.qzb"
run 0 --pack "$tmp/level/P"
run 1 --pack "$tmp/level/P" --cross --json
has '"repeats": [{"bridge": "01 A", "kind": "reference", "level": "02 B", "cost": 4000, "budget": 10000}'
run 2 --pack "$tmp/nothing"

# --cheapest: a cheaper bridge that still passes, the same one every time.
mkdir "$tmp/s"; cp "$data/truss.qzb" "$tmp/s/t.qzb"
run 0 --cheapest "$tmp/s/t.qzb"
has "cheapest found costs 800 (from 4000, budget 10000)"
run 0 "$tmp/s/t min.qzb"
run 0 --cheapest "$tmp/s/t.qzb" --out "$tmp/s/again.qzb"
cmp -s "$tmp/s/t min.qzb" "$tmp/s/again.qzb" || fail "two searches differ"
run 1 --cheapest "$data/deckonly.qzb"
run 2 --cheapest "$tmp/s/t.qzb" --out "$tmp/t.txt"
run 2 --pack "$tmp/level/P" "$data/truss.qzb"

[ $failures -eq 0 ] && echo "verify --pack, --cross, --cheapest: all checks passed"
[ $failures -eq 0 ]
