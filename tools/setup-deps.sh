#!/usr/bin/env bash
# Install the Debian packages the game and its tests need, only when one is
# missing. Runs apt-get as root (directly, or through sudo when available).
set -eu
packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libgl1-mesa-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils imagemagick
  libfreetype-dev fonts-dejavu-core
  desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y "${missing[@]}"
