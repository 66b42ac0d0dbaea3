#!/usr/bin/env bash
# The simulation's vector loops and its plain ones (what a processor
# without SSE2 runs) give the same whole state, step for step, along the
# benchmarks' runs: a typical truss under a train, a lattice that fills the
# tables, one falling apart, the train on a long deck.
set -eu
vector=$("$1/tests/simstate_vector")
plain=$("$1/tests/simstate_plain")
[ -n "$vector" ] || { echo "no state recorded"; exit 1; }
diff <(echo "$vector") <(echo "$plain") || { echo "the plain loops differ from the vector ones"; exit 1; }
echo "$(echo "$vector" | wc -l) states the same"
