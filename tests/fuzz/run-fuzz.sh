#!/usr/bin/env bash
# Build the fuzz targets with clang++ in <build dir>/fuzz and run each for a
# while. Usage: run-fuzz.sh <build dir> <source dir> [seconds per target] [target...]
# A finding is kept in <build dir>/fuzz/artifacts and fails the run; the
# corpus grows in <build dir>/fuzz/corpus across runs.
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
seconds=${3:-5}
shift $(($# < 3 ? $# : 3))
fuzz="$build/fuzz"
mkdir -p "$fuzz/artifacts" "$fuzz/corpus" "$fuzz/seeds"
{ CXX=clang++ cmake -S "$source/tests/fuzz" -B "$fuzz/build" -DCMAKE_BUILD_TYPE=Debug &&
  cmake --build "$fuzz/build" -j2; } >"$fuzz/build.log" 2>&1 || { cat "$fuzz/build.log"; exit 1; }
# Seeds that get past the first checks, which random bytes alone take long
# to do: real bridges, an older-format level and bridge (committed as "old
# kind0" and "old kind1": kind byte, header, 1024 terrain heights, three
# joints, two beams), and settings.
# Committed seeds first: those that cannot be made from the shipped files.
cd "$fuzz/seeds"
cp -r "$source/tests/fuzz/seeds/." .
mkdir -p fuzz_loadlevel fuzz_config
find "$source/tests/levels" -name '*.qzb' | head -n 4 | while read -r f; do cp "$f" fuzz_loadlevel/; done
mkdir -p fuzz_loadhint && find "$source/data/level" -name '*.txt' | head -n 4 | while read -r f; do cp "$f" fuzz_loadhint/; done
printf 'screenwidth=1024\r\nscreenheight=768\r\ncolordepth=16\r\nfullscreen=1\r\ndirectory=2\r\ncolorsafe=1\r\n' >fuzz_config/saved
# An empty file already takes each loader's plain road (and a saved config
# is read back whatever came in): these take the refusals.
printf 'screenwidth=100\nscreenheight=99999\ncolordepth=15\nfullscreen=7\ndirectory=-3\nsound=0\nvolume=50\nbogus=1\n# note\nnoequals\n=5\nscreenwidth=abc\n' >fuzz_config/refused
printf 'screenwidth=1024' >fuzz_config/unended
printf 'volume=300\r\nsound=2\r\nscreenwidth=  800  \r\n\r\n\r\n' >fuzz_config/odd
printf 'One line\r\nTwo\r\n' >fuzz_loadhint/crlf
printf 'a\nb\nc\nd\ne\n' >fuzz_loadhint/many
printf '%0100d\n' 0 >fuzz_loadhint/long
printf 'bin\001ary\n' >fuzz_loadhint/binary
printf '\n\n\n' >fuzz_loadhint/blank
printf 'no newline' >fuzz_loadhint/unended
# Every save syncs its file; on a memory file system that costs nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

# The edges each target's seeds reach beyond what an empty input alone
# reaches (libFuzzer's "INITED cov" of each), about four fifths of that gain
# when the floor was set: a harness that writes its input where the loader
# never looks gains nothing and fails here instead of fuzzing nothing, and so
# does one whose seeds are no better than an empty file or a single byte.
# Every target needs one.
declare -A floor=(
  [fuzz_config]=10
  [fuzz_edits]=370
  [fuzz_loadhint]=36
  [fuzz_loadlevel]=105
  [fuzz_loadoldlevel]=47
  [fuzz_loadprogess]=1
)
mkdir -p "$fuzz/empty" && : >"$fuzz/empty/empty"
cov() { ASAN_OPTIONS=detect_leaks=0 "$fuzz/build/$1" -runs=0 "$2" 2>&1 | sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p'; }

targets=("$@")
[ ${#targets[@]} -gt 0 ] || for t in "$fuzz/build"/fuzz_*; do targets+=("$(basename "$t")"); done
for t in "${targets[@]}"; do
  mkdir -p "$fuzz/corpus/$t" "$fuzz/seeds/$t"
  want=${floor[$t]:-}
  [ -n "$want" ] || { echo "$t has no coverage floor in run-fuzz.sh"; exit 1; }
  base=$(cov "$t" "$fuzz/empty") seeded=$(cov "$t" "$fuzz/seeds/$t")
  gain=$((${seeded:-0} - ${base:-0}))
  echo "== $t: seeds reach $seeded edges, $gain beyond an empty input (floor $want); $seconds s"
  [ -n "$base" ] && [ "$gain" -ge "$want" ] || { echo "$t: its seeds reach $gain edges beyond an empty input, under its floor: the loader is not reached"; exit 1; }
  # A leak check at exit would only report the tables' static storage.
  ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$fuzz/build/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=400000 \
    -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/$t-" "$fuzz/corpus/$t" "$fuzz/seeds/$t" 2>&1 |
    grep -E '^(stat::|==|INFO: Seed|#[0-9]+ +DONE)|ERROR|check failed|runtime error' || true
  # grep hides libFuzzer's progress lines; the exit status comes from the target.
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$t found a fault; see $fuzz/artifacts"; exit 1; }
done
