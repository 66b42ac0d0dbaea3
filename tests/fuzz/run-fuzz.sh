#!/usr/bin/env bash
# Build the fuzz targets with clang++ in <build dir>/fuzz and run each for a
# while. Usage: run-fuzz.sh <build dir> <source dir> [seconds per target] [target...]
# A finding is kept in <build dir>/fuzz/artifacts and fails the run; the
# corpus grows in <build dir>/fuzz/corpus across runs.
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
seconds=${3:-5}
shift $(( $# < 3 ? $# : 3 ))
fuzz="$build/fuzz"
mkdir -p "$fuzz/artifacts" "$fuzz/corpus"
if ! { CXX=clang++ cmake -S "$source/tests/fuzz" -B "$fuzz/build" -DCMAKE_BUILD_TYPE=Debug &&
       cmake --build "$fuzz/build" -j2; } >"$fuzz/build.log" 2>&1; then
  cat "$fuzz/build.log"
  exit 1
fi
# Every save syncs its file; on a memory file system that costs nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
"$fuzz/build/seeds" "$fuzz/seeds"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in "$fuzz/build"/fuzz_*; do targets+=("$(basename "$t")"); done
fi
for t in "${targets[@]}"; do
  corpus="$fuzz/corpus/$t"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$fuzz/seeds/$t" ] && seeds=("$fuzz/seeds/$t")
  echo "== $t: $seconds s"
  # A leak check at exit would only report the tables' static storage.
  ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$fuzz/build/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -max_len=400000 -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/$t-" \
      "$corpus" "${seeds[@]}" 2>&1 | grep -E '^(stat::|==|INFO: Seed|#[0-9]+ +DONE)|ERROR|check failed|runtime error' || true
  # grep hides libFuzzer's progress lines; the exit status comes from the target.
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$t found a fault; see $fuzz/artifacts"; exit 1; }
done
