#!/bin/sh
# Start the game in the player's own data directory.
#
# The game reads and writes everything relative to its working directory, so
# each player gets a directory of their own under $XDG_DATA_HOME. It is filled
# from the installed data on every start:
#   - images the player never edits are refreshed from the installation, so an
#     upgrade brings new ones;
#   - map packs and levels, with the hint files beside them, are copied only
#     where missing: a level the player saved over, and every bridge and
#     progress file, stay theirs.
# "level", "bridge" and every pack inside them must be real directories (the
# game leaves them with ".."), and levels are copied rather than linked so a
# save over a shipped level writes a file of the player's own.
set -eu

self=$(readlink -f "$0")
prefix=$(dirname "$(dirname "$self")")
shared="$prefix/share/spanwright"
game="$prefix/lib/spanwright/spanwright"

# A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
base="${XDG_DATA_HOME:-}"
case "$base" in /*) ;; *) base="$HOME/.local/share" ;; esac
data="$base/spanwright"

# A symbolic link where the game needs a directory is replaced by a real
# directory holding a copy of what the link showed.
realdir() {
  if [ -L "$1" ]; then
    tmp="$1.spanwright-tmp$$"
    rm -rf "$tmp"
    mkdir -p "$tmp"
    if [ -d "$1" ]; then cp -R "$1/." "$tmp/"; fi
    rm -f "$1"
    mv "$tmp" "$1"
  fi
  mkdir -p "$1"
}

# Copy through a temporary name so an interrupted start never leaves half a
# file where the game would read it.
install_file() {
  cp -f "$1" "$2.spanwright-tmp$$"
  mv -f "$2.spanwright-tmp$$" "$2"
}

realdir "$data"
realdir "$data/level"
realdir "$data/bridge"
realdir "$data/texture"

if [ -d "$shared/texture" ]; then
  for f in "$shared/texture"/*; do
    [ -f "$f" ] && install_file "$f" "$data/texture/$(basename "$f")"
  done
fi
[ -f "$shared/bridge.bmp" ] && install_file "$shared/bridge.bmp" "$data/bridge.bmp"

if [ -d "$shared/level" ]; then
  for pack in "$shared/level"/*/; do
    [ -d "$pack" ] || continue
    name=$(basename "$pack")
    realdir "$data/level/$name"
    for f in "$pack"*; do
      [ -f "$f" ] || continue
      dest="$data/level/$name/$(basename "$f")"
      # -e is false for a dangling link too, and cp would follow it out of
      # the directory; such a name is the player's business, leave it.
      if [ ! -e "$dest" ] && [ ! -L "$dest" ]; then
        install_file "$f" "$dest"
      fi
    done
  done
fi

# Pack directories the player linked in from elsewhere: the game would leave
# them with ".." into the link's parent, so they become real ones too.
for pack in "$data/level"/* "$data/bridge"/*; do
  if [ -L "$pack" ] && [ -d "$pack" ]; then realdir "$pack"; fi
done

cd "$data"
exec "$game" "$@"
