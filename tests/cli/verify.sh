#!/usr/bin/env bash
# spanwright-verify end to end, one run a row: its exit status and what its
# output (stdout and stderr as one text, so a pattern may span lines) must
# match. A single file: a sound truss on piers passes under the default
# train (its positions dumped before and after the verdict) and a bare deck
# fails; unreadable input and wrong options give 2.
# For level authors: --pack, a pack in playing order against the player's
# bridges beside it and the budget against the cheapest bridge; --cross, a
# bridge that also solves another level; --cheapest, the search for a
# cheaper bridge, intact at every train second, written beside the input
# unless told where; --proof, a bridge that passes intact with the train
# called at 0 to 6 s; --regular, the cheapest textbook truss that holds.
# A file with a coordinate far beyond the world (a fuzz seed, current and
# older format) is refused with the reason, which names what lies outside.
# (That a search or --regular gives the same every run is the unit tests'.)
set -u
verify="$(cd "$1" && pwd)/spanwright-verify"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# From the data directory: the loader is run from the file's own directory
# and the caller's must be kept, so the rows name its files relatively.
cd "$2/tests/cli/data" || exit 1
# A level file is a bridge file's record: two levels, one bridge so far
# beside them, both in another directory.
mkdir -p "$tmp/level/P" "$tmp/bridge/P" "$tmp/both" "$tmp/cheap" "$tmp/s" "$tmp/x"
for f in "level/P/01 A.qzl" "level/P/02 B.qzl" "bridge/P/01 A.qzb" "both/01 A.qzb" "both/02 B.qzb" s/t.qzb; do cp truss.qzb "$tmp/$f"; done
cp deckonly.qzb "$tmp/cheap/01 A.qzb"
cp "../../fuzz/seeds/fuzz_loadlevel/huge joint y" "$tmp/x/huge.qzb"
tail -c +2 "../../fuzz/seeds/fuzz_loadoldlevel/huge old level right end" >"$tmp/x/huge.lvl"
# A file the game's list pattern takes as a level that is none.
mkdir -p "$tmp/r/level/P" "$tmp/r/bridge/P"; cp truss.qzb "$tmp/r/level/P/01 A.qzl"; printf notes >"$tmp/r/level/P/00readme"
failures=0
while IFS='|' read -r want args pattern; do
  eval "\"\$verify\" $args" >"$tmp/out" 2>&1
  got=$?
  [ "$got" = "$want" ] && { [ -z "$pattern" ] || grep -qzE -- "$pattern" "$tmp/out"; } ||
    { echo "FAIL: verify $args: status $got, not $want, or no '$pattern' in: $(head -c 600 "$tmp/out")"; failures=$((failures + 1)); }
done <<'ROWS'
0|truss.qzb|cost 4000 of budget 10000
0|--json --dump-steps 60,300 truss.qzb|"dumps": \{"60": \[\[992, 32\].*"result": "passed".*"failure": null, .*\[60, 2\].*"broken_beams": \[\]
1|deckonly.qzb|failed: the train fell.*first break: beam
1|--json --seconds 20 deckonly.qzb|"passed_step": null, "failure": "fell".*"broken_beams": \[\[[0-9]+, [0-9]+, [01]\]
1|--json --seconds 3 truss.qzb|"steps": 180, "passed_step": null, "failure": "time"
1|--weight 2000000 --seconds 30 truss.qzb|failed
0|--json --progressive --add 100000 truss.qzb|"max_weight": [1-9][0-9]{5}
2|"$tmp/x/missing.qzb"|missing.qzb
2|"$tmp/x/huge.qzb"|not a valid level or bridge file: joint 4 lies outside -4096\.\.4096
2|--describe "$tmp/x/huge.lvl"|not a valid level or bridge file: the right end lies outside -4096\.\.4096
2||usage: spanwright-verify
2|--weight 0 truss.qzb|
2|--frobnicate truss.qzb|
1|--pack "$tmp/level/P" --cheapest-dir "$tmp/cheap"|^01 A: passed, cost 4000 of budget 10000, budget 1150 % above the cheapest \(800\).*02 B: no bridge.*not passed: 02 B \(no bridge\)
1|--pack "$tmp/level/P" --bridges "$tmp/bridge/P" --json|"name": "02 B", "bridge": "missing", "passed": false, "failure": null
1|--pack "$tmp/level/P" --bridges "$tmp/both" --cross --json|"repeats": \[\{"bridge": "01 A", "kind": "reference", "level": "02 B", "cost": 4000, "budget": 10000\}
2|--pack "$tmp/nothing"|
2|--pack "$tmp/r/level/P"|level/P/00readme: listed as a level
2|--pack "$tmp/level/P" truss.qzb|
0|--proof truss.qzb|proof held.*train at 0 s: passed intact.*train at 6 s: passed intact, across at step
1|--proof --json deckonly.qzb|^\{"file": "deckonly.qzb", "proof": false, "seconds": \[\{"train_second": 0, "result": "failed", "broken": [1-9][0-9]*, "failure": "fell", "passed_step": null\}.*"train_second": 6
2|--proof --weight 5 truss.qzb|
2|--allow-breaks truss.qzb|
1|--pack "$tmp/level/P" --cheapest-dir "$tmp/cheap" --proof|01 A: passed, cost 4000.*proof of the bridge: held; of the cheapest: failed at 0 s \(failed \(fell\), [0-9]+ beams broke\).*not passed: 01 A \(proof failed\), 02 B \(no bridge\)
0|--pack "$tmp/level/P" --bridges "$tmp/both" --proof --json|"passed_step": [0-9]+, "proof": true, "cheapest_proof": null, "proof_seconds": \[\{"train_second": 0, "result": "passed", "broken": 0
0|--cheapest "$tmp/s/t.qzb"|cheapest found costs 800 \(from 4000, budget 10000\).*passes intact with the train called at every second 0 to 6
0|--regular truss.qzb --out "$tmp/s/regular.qzb"|^truss.qzb: cheapest regular truss that holds: cost 1600 of budget 10000, pratt above, panel 16, depth 2.*  1600 pratt above, panel 16, depth 2: passed intact; proof held.*written to
0|--proof "$tmp/s/regular.qzb"|proof held
0|--regular truss.qzb --json --allow-breaks|^\{"level": "truss.qzb", "budget": 10000, "trusses": [0-9]+, "best": \{"cost": 1[0-6]00, "kind": ".*"tested": \[\{"cost": 
2|--regular truss.qzb --proof|
2|--regular "$tmp/x/huge.lvl"|not a valid level or bridge file
0|--proof "$tmp/s/t min.qzb"|proof held
1|--cheapest deckonly.qzb|
2|--cheapest "$tmp/s/t.qzb" --out "$tmp/t.txt"|
2|truss.qzb >/dev/full|could not write the output
ROWS
# Output that could not be written is no verdict: stdout on a full device
# (the last row), or past a file-size limit (which must not kill the tool).
(ulimit -f 1 && exec "$verify" --json --dump-steps 60,300 truss.qzb >"$tmp/big" 2>"$tmp/err")
[ $? = 2 ] && grep -q "could not write the output" "$tmp/err" || { echo "FAIL: output past a size limit: $(cat "$tmp/err")"; failures=$((failures + 1)); }
[ $failures -eq 0 ] && echo "spanwright-verify: all checks passed"
