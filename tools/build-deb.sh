#!/usr/bin/env bash
# Build the Debian package from this checkout and check it with lintian:
# installs the packaging tools and the build dependencies when missing,
# builds in a scratch copy of the tree (dpkg-buildpackage writes its results
# beside the source directory, which must not be the checkout's parent), and
# leaves spanwright_<version>_<arch>.deb in build-deb/.
# DEB_BUILD_OPTIONS=nocheck skips the unit tests inside the package build.
set -eu
cd "$(dirname "$0")/.."
tools/setup-deps.sh
need=(debhelper dpkg-dev lintian)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y "${missing[@]}"
fi
dpkg-checkbuilddeps

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
out=$PWD/build-deb
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
tree="$scratch/spanwright-$version"
mkdir -p "$tree" "$out"
# Only what the project tracks (or, outside git, everything but builds).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$tree" -xf -
else
  tar --exclude='./build*' -cf - . | tar -C "$tree" -xf -
fi
(cd "$tree" && dpkg-buildpackage -b -us -uc)
deb="spanwright_${version}_${arch}.deb"
cp "$scratch/$deb" "$scratch"/spanwright_"${version}"_"${arch}".{buildinfo,changes} "$out/"
# Errors and warnings fail the build; info and pedantic tags are listed.
lintian --fail-on error,warning --info --display-info "$out/$deb"
echo "$out/$deb"
