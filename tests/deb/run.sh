#!/usr/bin/env bash
# The Debian package end to end, as CI runs it after the tests (as root, on
# a machine that may install packages): build and lint it, install it with
# apt-get, play one short scenario through the installed copy under Xvfb,
# then remove it and check that every file it installed is gone while the
# player's data directory stays.
#   bash tests/deb/run.sh BUILD
# BUILD is a build directory of the checkout (the window-test runner needs
# one); the package itself is built from a scratch copy by tools/build-deb.sh.
set -eu -o pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "SKIP: installing a package needs root"; exit 0; }

# The unit tests ran before this stage; the package build need not repeat them.
deb=$(DEB_BUILD_OPTIONS=nocheck "$src/tools/build-deb.sh" | tail -n1)
[ -f "$deb" ] || fail "no package built"
# apt-get fails (and so this script) on a package that does not install or
# configure, and on one it cannot remove.
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null
dpkg -L spanwright | while read -r f; do [ -d "$f" ] || echo "$f"; done >"$build/deb-files.txt"
[ -x /usr/games/spanwright ] && [ -x /usr/games/spanwright-verify ] || fail "commands missing"
[ -f /usr/share/man/man6/spanwright.6.gz ] && [ -f /usr/share/man/man6/spanwright-verify.6.gz ] || fail "man pages missing"
/usr/games/spanwright-verify --help >/dev/null 2>&1 || [ $? = 2 ] || fail "checker does not start"

keep=$(mktemp -d)
trap 'rm -rf "$keep"' EXIT
E2E_KEEP=1 bash "$src/tests/e2e/run.sh" "$build" "$src" "$src/tests/deb/play.scn" | tee "$keep/play.log"
# play.scn checks the progress the game wrote.
work=$(sed -n 's/.*work directory kept: //p' "$keep/play.log")
data="$work/xdg/spanwright"

DEBIAN_FRONTEND=noninteractive apt-get remove -y spanwright >/dev/null
left=$(while read -r f; do [ ! -e "$f" ] || echo "$f"; done <"$build/deb-files.txt")
[ -z "$left" ] || fail "left after removal: $left"
[ -d "$data/level" ] && [ -f "$data/config.txt" ] || fail "the player's data directory was touched"
rm -rf "$work"
echo "package: built, lint-clean, installed, played and removed"
