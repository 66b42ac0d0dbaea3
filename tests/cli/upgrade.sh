#!/usr/bin/env bash
# The launcher's data step over a player's directory from an installation
# that shipped other versions of the levels and hints and the second pack in
# another order (tests/cli/data/upgrade holds the levels as they shipped),
# with bridges, records and progress of the old order, an old level the
# player saved over and a level of their own. The game is a stand-in that
# only notes that it ran.
set -eu
src=$(cd "$2" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export LC_ALL=C
old="$src/tests/cli/data/upgrade"; pack="2 Highlands"

pre="$tmp/pre"; share="$pre/share/spanwright"
mkdir -p "$pre/bin" "$pre/lib/spanwright" "$share"
cp "$src/dist/spanwright.sh" "$pre/bin/spanwright"
cp -R "$src/data/level" "$share/level"
cp "$src/dist/shipped-levels.sha256" "$src/dist/level-renames.txt" "$share/"
printf '#!/bin/sh\necho ran >"$SPANWRIGHT_STUB_OUT"\n' >"$pre/lib/spanwright/spanwright"
chmod +x "$pre/lib/spanwright/spanwright"
export SPANWRIGHT_STUB_OUT="$tmp/ran"
launch() { : >"$tmp/ran"; XDG_DATA_HOME="$1" "$pre/bin/spanwright" && [ -s "$tmp/ran" ]; }

# The list holds what ships now, so the next upgrade knows it as ours.
missing=$(comm -23 <(cd "$share/level" && sha256sum -- */* | sort) <(sort "$share/shipped-levels.sha256"))
[ -z "$missing" ] || fail "not in dist/shipped-levels.sha256 (run tools/shipped-levels.sh): $missing"

# 64 progress flags, those at the given positions set.
flags() { for i in $(seq 0 63); do case " $* " in *" $i "*) printf '\1\0\0\0' ;; *) printf '\0\0\0\0' ;; esac; done; }

makeold() {
  local d="$1/spanwright" n
  mkdir -p "$d/bridge/$pack"
  cp -R "$old" "$d/level"
  echo >>"$d/level/$pack/05 Two Piers.qzl"
  cp "$old/$pack/10 Canyon.qzl" "$d/level/$pack/00 Mine.qzl"
  for n in "01 Overhang" "02 By Hand" "07 Flood" "05 Two Piers" "06 Heavy Two"; do echo "$n" >"$d/bridge/$pack/$n.qzb"; done
  echo mine >"$d/bridge/$pack/04 Heavy Two.qzb"
  printf '%s\n' "# level, lowest passing cost, heaviest train across" "01 Overhang 1200 -" \
    "01 Overhang failed 2 tests" "01 Overhang Pass 700 -" "05 Two Piers 900 145000" >"$d/bridge/$pack.rec"
  printf '12 Lowlands 800 -' >>"$d/bridge/$pack.rec"
  # Passed, in the old order: 00 Mine, 01 Overhang, 02 By Hand, 05 Two Piers, 09 Hairpin.
  flags 0 1 2 5 9 >"$d/bridge/$pack.pro"
}

makeold "$tmp/a"; u="$tmp/a/spanwright"
launch "$tmp/a" || fail "launcher"
# Every old file of ours replaced or gone; the level saved over and the
# player's own stay, and are all that differs from the installation.
[ "$(diff -r "$share/level" "$u/level")" = "Only in $u/level/$pack: 00 Mine.qzl
Only in $u/level/$pack: 05 Two Piers.qzl" ] || fail "levels: $(diff -r "$share/level" "$u/level")"
cmp -s <(cat "$old/$pack/05 Two Piers.qzl"; echo) "$u/level/$pack/05 Two Piers.qzl" || fail "saved-over level changed"
# Bridges follow their levels, except where the new name is taken or the
# level stayed.
got=$(cd "$u/bridge/$pack" && for f in *; do echo "$f: $(cat "$f")"; done)
[ "$got" = "01 By Hand.qzb: 02 By Hand
04 Heavy Two.qzb: mine
05 Flood.qzb: 07 Flood
05 Two Piers.qzb: 05 Two Piers
06 Heavy Two.qzb: 06 Heavy Two
07 Overhang.qzb: 01 Overhang" ] || fail "bridges: $got"
[ "$(cat "$u/bridge/$pack.rec")" = "# level, lowest passing cost, heaviest train across
07 Overhang 1200 -
07 Overhang failed 2 tests
01 Overhang Pass 700 -
05 Two Piers 900 145000
11 Lowlands 800 -" ] || fail "records: $(cat "$u/bridge/$pack.rec")"
# New order: 00 Mine, 01 By Hand, 02 Ore Train, 03 Hairpin, 04 Heavy Two,
# 05 Flood, 05 Two Piers, 06 Viaduct, 07 Overhang, ...
cmp -s <(flags 0 1 3 6 8) "$u/bridge/$pack.pro" || fail "progress: $(od -An -tu4 "$u/bridge/$pack.pro" | tr -s ' \n' ' ')"

# A second start changes nothing.
before=$(cd "$u" && find level bridge | sort); touch "$tmp/mark"
launch "$tmp/a" || fail "second launch"
[ "$before" = "$(cd "$u" && find level bridge | sort)" ] && [ -z "$(find "$u/level" "$u/bridge" -newer "$tmp/mark")" ] ||
  fail "second start changed: $(find "$u/level" "$u/bridge" -newer "$tmp/mark")"

# A start cut short among the removals of old levels (rm fails after eight)
# refuses to play; the next one ends where an uninterrupted start does.
makeold "$tmp/b"
mkdir "$tmp/fail"
printf '#!/bin/sh\nn=$(cat "$0.n" 2>/dev/null || echo 0)\n[ "$n" -lt 8 ] || exit 1\necho $((n + 1)) >"$0.n"\nexec %s "$@"\n' "$(command -v rm)" >"$tmp/fail/rm"
chmod +x "$tmp/fail/rm"
! PATH="$tmp/fail:$PATH" launch "$tmp/b" 2>/dev/null || fail "played after a failed upgrade"
left=$(cd "$tmp/b/spanwright/level/$pack" && ls -- *.qzl | wc -l)
[ "$left" -gt 2 ] && [ "$left" -lt 13 ] || fail "the cut-short start left $left levels"
launch "$tmp/b" || fail "launch after a cut-short start"
diff -r "$u" "$tmp/b/spanwright" || fail "a cut-short start ends elsewhere"
echo "upgrade ok"
