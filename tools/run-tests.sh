#!/usr/bin/env bash
# Build everything and run every test (unit, command-line, window tests),
# then build again with AddressSanitizer and UndefinedBehaviorSanitizer and
# run the whole suite a second time. SPANWRIGHT_SKIP_SANITIZE=1 skips the
# second pass for a quick local run.
set -eu
cd "$(dirname "$0")/.."
tools/setup-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

[ "${SPANWRIGHT_SKIP_SANITIZE:-0}" = 1 ] && exit 0

# The sanitizer build stops at the first report (-fno-sanitize-recover) and
# skips the benchmarks, whose timings mean nothing there. The fuzz entry is
# left out: it already builds its targets with both sanitizers.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPANWRIGHT_SANITIZE=ON -DSPANWRIGHT_BENCH=OFF
cmake --build build-asan -j"$jobs"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Everything but the window tests with leak checking: the core allocates
# nothing, so any leak there is ours.
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE 'e2e|fuzz'
# The window tests without it: the display stack (SDL, X11, Mesa's software
# renderer) keeps allocations to the end of the process that are not ours to
# free, and the harness kills the game in many tests before a leak check
# could run anyway. Memory errors and undefined behaviour still halt.
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -L e2e
