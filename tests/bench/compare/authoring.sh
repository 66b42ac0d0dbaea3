#!/usr/bin/env bash
# The level author's tools on two builds side by side: the cheapest-bridge
# search's candidates per second on three committed bridges, and the wall
# time of checking every pack with --cross against its reference and
# cheapest bridges, best of ROUNDS runs of each,
# taken in turns so both builds see the same load:
#   authoring.sh OLDBUILD NEWBUILD [ROUNDS]
# Both searches run by the same rule (a build that knows --allow-breaks is
# given it, so that any pass counts, as before that rule changed) on the
# same files, so they test the same candidates: the script checks that the
# counts agree. Not a test: the figures depend on the machine.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../.." && pwd)
rounds=${3:-3}
bridges=("3 Frontier/12 Stilts" "2 Highlands/10 Canyon" "3 Frontier/09 High Wire")
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

verifier() { echo "$(cd "$1" && pwd)/spanwright-verify"; }
rule() { "$1" --help 2>&1 | grep -q -- --allow-breaks && echo --allow-breaks || true; }

declare -A best count
for r in $(seq "$rounds"); do
  for side in old new; do
    v=$(verifier "$([ $side = old ] && echo "$1" || echo "$2")")
    for b in "${bridges[@]}"; do
      cp "$src/tests/levels/$b.qzb" "$tmp/search.qzb"
      line=$("$v" --cheapest "$tmp/search.qzb" --out "$tmp/found.qzb" --seconds 300 $(rule "$v") | grep 'candidates tested')
      n=$(echo "$line" | awk '{print $1}')
      rate=$(echo "$line" | sed 's/.*(\([0-9]*\) a second).*/\1/')
      key="$side|$b"
      [ -z "${count[$b|$side]:-}" ] || [ "${count[$b|$side]}" = "$n" ] || { echo "$side: $b tested $n candidates, before ${count[$b|$side]}"; exit 1; }
      count[$b|$side]=$n
      [ "${best[$key]:-0}" -ge "$rate" ] || best[$key]=$rate
    done
    start=$(date +%s.%N)
    for pack in "$src"/data/level/*/; do
      name=$(basename "$pack")
      "$v" --pack "$pack" --bridges "$src/tests/levels/$name" --cheapest-dir "$src/tests/levels/$name/cheapest" \
        --cross --json >/dev/null || true
    done
    t=$(echo "$(date +%s.%N) - $start" | bc)
    key="$side|pack"
    if [ -z "${best[$key]:-}" ] || [ "$(echo "$t < ${best[$key]}" | bc)" = 1 ]; then best[$key]=$t; fi
  done
done
printf '%-28s %10s %10s %9s\n' "cheapest search" "old /s" "new /s" "speed-up"
for b in "${bridges[@]}"; do
  [ "${count[$b|old]}" = "${count[$b|new]}" ] || { echo "$b: $((count[$b|old])) candidates old, ${count[$b|new]} new"; exit 1; }
  printf '%-28s %10s %10s %9.2f   (%s candidates)\n' "$b" "${best[old|$b]}" "${best[new|$b]}" \
    "$(echo "${best[new|$b]} / ${best[old|$b]}" | bc -l)" "${count[$b|new]}"
done
printf '%-28s %9.2fs %9.2fs %9.2f\n' "every pack, --cross" "${best[old|pack]}" "${best[new|pack]}" \
  "$(echo "${best[old|pack]} / ${best[new|pack]}" | bc -l)"
