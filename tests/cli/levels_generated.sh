#!/usr/bin/env bash
# The shipped levels, their hints and their reference and regular bridges
# are exactly what the generator writes from its table: a changed table that
# was not regenerated, a hint edited by hand (the generator refuses a hint
# that types a level's figure as a number or names one the game does not
# know), or a generator whose output drifts, shows up here. The cheapest
# bridges are written by the searches, not by the generator.
set -eu
build=$(cd "$1" && pwd); src=$(cd "$2" && pwd)
[ -x "$build/makelevels" ] || { echo "FAIL: no $build/makelevels" >&2; exit 1; }
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/level" "$tmp/refs"
"$build/makelevels" "$tmp/level" "$tmp/refs" >/dev/null
diff -r "$tmp/level" "$src/data/level" || { echo "FAIL: data/level differs from makelevels" >&2; exit 1; }
diff -r -x cheapest -x '*.md' "$tmp/refs" "$src/tests/levels" || { echo "FAIL: tests/levels differs from makelevels" >&2; exit 1; }
echo "levels match the generator"
