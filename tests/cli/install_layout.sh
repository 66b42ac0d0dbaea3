#!/usr/bin/env bash
# Install into a temporary prefix (with a space in its path) and check what a
# desktop needs, then the launcher's per-user data directory: first start,
# later starts that must not overwrite the player's files, and symlinked
# directories that must become real ones; the checkout's launcher plays there
# too.
set -eu
build=$(cd "$1" && pwd); src=$(cd "$2" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/pre fix"; share="$prefix/share/spanwright"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
app=org.spanwright.Spanwright

# The installed layout: the shipped levels, and never the reference bridges
# (the game itself is started from it in installed.scn).
[ -f "$prefix/share/man/man6/spanwright.6" ] && [ -f "$prefix/share/man/man6/spanwright-verify.6" ] || fail "no manual pages"
[ -x "$prefix/bin/spanwright-verify" ] || [ ! -x "$build/spanwright-verify" ] || fail "verify not installed"
for s in 48 64 128 256; do
  [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${s}x${s}/apps/$app.png")" = "${s}x${s}" ] || fail "no ${s} px icon"
done
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop entry"
grep -qxF "Exec=\"$prefix/bin/spanwright\"" "$prefix/share/applications/$app.desktop" || fail "desktop entry starts another program"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null || fail "metainfo"
diff -r "$src/data/level" "$share/level" || fail "installed levels differ from data/level"
cmp -s "$src/dist/shipped-levels.sha256" "$share/shipped-levels.sha256" && cmp -s "$src/dist/level-renames.txt" "$share/level-renames.txt" || fail "upgrade lists not installed"
[ -z "$(find "$share" -name '*.qzb')" ] || fail "reference bridges must not ship"

# From here on the game is a stand-in that reports where it was started, so
# the launcher can be checked without a display.
printf '#!/bin/sh\npwd >"$SPANWRIGHT_STUB_OUT"\n' >"$prefix/lib/spanwright/spanwright"
chmod +x "$prefix/lib/spanwright/spanwright"
export SPANWRIGHT_STUB_OUT="$tmp/cwd"
export XDG_DATA_HOME="$tmp/xdg home"
user="$XDG_DATA_HOME/spanwright"
launch() { (cd /; "$prefix/bin/spanwright") || fail "launcher exit status"; }

# First start: the directory is made, every shipped level copied as a real
# file into a real pack directory (no links anywhere), and the game runs
# there.
launch
[ "$(cat "$tmp/cwd")" = "$user" ] || fail "game ran in $(cat "$tmp/cwd")"
diff -r "$share/level" "$user/level" && [ -d "$user/bridge" ] || fail "levels not copied"
[ -z "$(find "$user" -type l)" ] || fail "links made: $(find "$user" -type l)"

# A later start brings a pack that a newer installation added, and keeps a
# level the player saved over (checked after the next start, which must
# keep it too). (Levels missing or of an older installation, and the
# player's own files beside them, are upgrade.sh's.)
first=$(cd "$share/level" && find . -name '*.qzl' | sort | head -n 1)
echo "player's level" >"$user/level/$first"
mkdir -p "$share/level/Z New Pack"
cp "$share/level/$first" "$share/level/Z New Pack/01 New.qzl"
launch
[ -f "$user/level/Z New Pack/01 New.qzl" ] || fail "new pack not added"

# A pack directory that has become a symbolic link is turned back into a
# real directory with the same files; the same for a bridge pack the player
# linked in.
pack=$(dirname "$first")
mv "$user/level/$pack" "$tmp/moved"
ln -s "$tmp/moved" "$user/level/$pack"
mkdir -p "$tmp/elsewhere"; echo mine >"$tmp/elsewhere/b.qzb"
ln -s "$tmp/elsewhere" "$user/bridge/Linked"
launch
[ -z "$(find "$user" -type l)" ] || fail "linked packs stay links: $(find "$user" -type l)"
[ "$(cat "$user/level/$first")" = "player's level" ] || fail "linked pack lost the player's level"
[ "$(cat "$user/bridge/Linked/b.qzb")" = mine ] || fail "linked bridge pack lost its bridge"

# Textures always come from the installation, even over a changed copy.
tex=$(ls "$share/texture" | head -n 1)
echo changed >"$user/texture/$tex"
launch
cmp -s "$user/texture/$tex" "$share/texture/$tex" || fail "texture not refreshed"

# With a relative XDG_DATA_HOME the directory lives under ~/.local/share,
# as without one (the launcher takes both through the same branch).
XDG_DATA_HOME=relative HOME="$tmp/home" launch
[ "$(cat "$tmp/cwd")" = "$tmp/home/.local/share/spanwright" ] || fail "relative XDG_DATA_HOME used: $(cat "$tmp/cwd")"

# tools/run-game.sh plays in the same directory, never in the checkout's data/.
mkdir -p "$tmp/fake" "$tmp/b"
printf '#!/bin/sh\n' >"$tmp/fake/cmake"; chmod +x "$tmp/fake/cmake"
cp "$prefix/lib/spanwright/spanwright" "$tmp/b/spanwright"
XDG_DATA_HOME="$tmp/xdg" PATH="$tmp/fake:$PATH" SPANWRIGHT_BUILD="$tmp/b" "$src/tools/run-game.sh" || fail "run-game.sh"
[ "$(cat "$tmp/cwd")" = "$tmp/xdg/spanwright" ] || fail "run-game.sh played in $(cat "$tmp/cwd")"
echo "install ok"
