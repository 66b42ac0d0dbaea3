#!/usr/bin/env bash
# Records what a build's simulation produces, so that two builds (today's
# and a faster one) can be compared byte for byte:
#   compare.sh BUILD OUT [LEVELDIR BRIDGEDIR]
# BUILD is a configured and built tree (its core library and verifier are
# used, and the sources it was configured from); OUT receives
#   simstate.txt    whole-state hashes along the benchmarks' runs
#   json/...        the verifier's JSON, with particle positions every 30
#                   steps, of every level and bridge file, and of a
#                   progressive test of every bridge
#   pack-*.json     the whole-pack check of every pack, with --cross
# LEVELDIR and BRIDGEDIR default to the checkout's data/level and
# tests/levels; pass copies kept aside to compare builds of different
# commits on the same files. Then: diff -r OUT1 OUT2.
set -eu
build=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")" && pwd)
src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
levels=$(cd "${3:-$src/data/level}" && pwd)
bridges=$(cd "${4:-$src/tests/levels}" && pwd)
verify="$build/spanwright-verify"
mkdir -p "$out/json"
out=$(cd "$out" && pwd)

g++ -O2 -std=c++17 -I"$src/src" -o "$out/simstate" "$here/simstate.cpp" "$build/libspanwright_core.a"
"$out/simstate" >"$out/simstate.txt"
rm -f "$out/simstate"

dumps=$(seq -s, 30 30 1920)  # the verifier takes 64 at most
# The verifier prints the file name as given: relative names keep the
# output the same wherever the files are.
for dir in "$levels" "$bridges"; do
  (cd "$dir" && find . -type f \( -name '*.qzl' -o -name '*.qzb' \) | sort) | while read -r f; do
    name=$(basename "$dir")/${f#./}
    mkdir -p "$(dirname "$out/json/$name")"
    (cd "$dir" && "$verify" --json --dump-steps "$dumps" "$f" >"$out/json/$name.json" || true)
    case "$f" in *.qzb)
      (cd "$dir" && "$verify" --json --progressive --seconds 60 "$f" >"$out/json/$name.progressive.json" || true) ;;
    esac
  done
done
(cd "$levels" && for pack in */; do
  pack=${pack%/}
  args=(--pack "$pack" --bridges "$bridges/$pack" --cross --json)
  [ -d "$bridges/$pack/cheapest" ] && args+=(--cheapest-dir "$bridges/$pack/cheapest")
  "$verify" "${args[@]}" >"$out/pack-$pack.json" 2>&1 || true
done)
echo "$(find "$out" -type f | wc -l) files in $out"
