#!/usr/bin/env bash
# Build everything and run every test (unit, command-line, window tests).
set -eu
cd "$(dirname "$0")/.."
tools/setup-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
