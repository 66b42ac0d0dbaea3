#!/usr/bin/env bash
# Build everything and run every test: the unit, command-line and fuzz tests
# on the plain build, then everything again but the fuzz entry (which builds
# its own sanitized targets) on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, the window tests only there: a scenario that
# passes there passes on the plain game too, and the game gets one run of
# every window flow under the sanitizers for the time of one.
# SPANWRIGHT_SKIP_SANITIZE=1 skips the second build and runs the window tests
# on the plain one instead, for a quick local run.
set -eu
cd "$(dirname "$0")/.."
tools/setup-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
if [ "${SPANWRIGHT_SKIP_SANITIZE:-0}" = 1 ]; then
  exec ctest --test-dir build --output-on-failure -j"$jobs"
fi
ctest --test-dir build --output-on-failure -j"$jobs" -LE e2e

# The sanitizer build stops at the first report (-fno-sanitize-recover) and
# skips the benchmarks, whose timings mean nothing there, and the campaign's
# proofs ("slow"), which test data the plain build has already checked.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPANWRIGHT_SANITIZE=ON -DSPANWRIGHT_BENCH=OFF
cmake --build build-asan -j"$jobs"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# With leak checking: the core allocates nothing, so any leak there is ours.
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE 'e2e|fuzz|slow'
# The window tests without it: the display stack (SDL, X11, Mesa's software
# renderer) keeps allocations to the end of the process that are not ours to
# free. Memory errors and undefined behaviour still halt the game.
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=0 \
  ctest --test-dir build-asan --output-on-failure -L e2e
