#!/usr/bin/env bash
# The level and bridge files with a coordinate far beyond the world, kept
# as fuzz seeds (the older format's first byte says level 0 or bridge 1):
# the checker refuses each, plain and with --describe, with exit 2 and the
# reason, which names what lies outside.
set -u
verify="$(cd "$1" && pwd)/spanwright-verify"
seeds="$2/tests/fuzz/seeds"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failures=0 count=0
for f in "$seeds"/fuzz_loadlevel/huge* "$seeds"/fuzz_loadoldlevel/huge*; do
  case $f in
    */fuzz_loadoldlevel/*) [ "$(head -c 1 "$f" | od -An -tu1 | tr -d ' ')" = 1 ] && file=$tmp/f.brg || file=$tmp/f.lvl
                           tail -c +2 "$f" >"$file" ;;
    *) file=$tmp/f.qzb && cp "$f" "$file" ;;
  esac
  for option in "" --describe; do
    "$verify" $option "$file" >"$tmp/out" 2>&1
    status=$?
    [ $status = 2 ] && grep -qE "not a valid level or bridge file: .* lies outside -4096\.\.4096" "$tmp/out" ||
      { echo "FAIL: ${f##*/} $option: status $status: $(head -c 300 "$tmp/out")"; failures=$((failures + 1)); }
  done
  count=$((count + 1)); rm -f "$file"
done
[ $count = 9 ] || { echo "FAIL: $count files, not 9"; failures=$((failures + 1)); }
[ $failures -eq 0 ] && echo "huge coordinates: all $count refused with a reason"
