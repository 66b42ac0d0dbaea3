#!/usr/bin/env bash
# Build the game and play it the way an installed copy runs: in the player's
# own data directory (see dist/spanwright.sh), filled from this checkout's
# data/. Played inside data/, the game's settings, progress and bridges would
# show up in the checkout as changes. SPANWRIGHT_BUILD names the build
# directory (default "build").
set -eu
cd "$(dirname "$0")/.."
build=${SPANWRIGHT_BUILD:-build}
tools/setup-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target spanwright
# A prefix laid out as an installation that points back into the checkout.
# The launcher is copied, not linked: it finds the installation from the
# real path of its own file.
build=$(cd "$build" && pwd)
play="$build/play"
share="$play/share/spanwright"
# Earlier versions linked the whole of data/ here.
if [ -L "$share" ]; then rm -f "$share"; fi
mkdir -p "$play/bin" "$play/lib/spanwright" "$share"
for f in data/level data/texture data/bridge.bmp dist/shipped-levels.sha256 dist/level-renames.txt; do
  ln -sfn "$PWD/$f" "$share/${f##*/}"
done
ln -sfn "$build/spanwright" "$play/lib/spanwright/spanwright"
cp -f dist/spanwright.sh "$play/bin/spanwright"
exec "$play/bin/spanwright" "$@"
