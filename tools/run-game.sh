#!/usr/bin/env bash
# Build the game and start it from its data directory.
set -eu
cd "$(dirname "$0")/.."
tools/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target spanwright
cd data
exec ../build/spanwright
