#!/usr/bin/env bash
# Writes what the launcher needs to bring an earlier installation's levels up
# to date in a player's data directory (see dist/spanwright.sh):
#   dist/shipped-levels.sha256  every version of every level and hint file
#                               data/level has held, "<sha256>  <pack>/<file>"
#                               as sha256sum prints it;
#   dist/level-renames.txt      "<pack>/<old>\t<pack>/<new>" for each level
#                               name we no longer ship whose title (the name
#                               after its number) is now under one other name
#                               in the same pack, the most recently shipped
#                               old names first.
# Taken from every commit that reached data/level plus the working tree, so
# run it and commit its output with any change to data/level.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
nl='
'
tab='	'

# The launcher reads these lists line by line and looks names up as they
# are: a name sha256sum would escape, or one that would split a line or a
# column, cannot be listed.
checkname() {
  case "$1" in
    *"$nl"* | *"$tab"* | *\\*) echo "shipped-levels: unusable file name: $1" >&2; exit 1 ;;
  esac
}

# Both kinds of shipped file, from the newest commit to the oldest, then the
# working tree.
for c in $(git rev-list HEAD -- data/level); do
  git ls-tree -r "$c" -- data/level | while IFS="$tab" read -r meta path; do
    case "$path" in *.qzl | *.txt) ;; *) continue ;; esac
    echo "${meta##* }$tab${path#data/level/}"
  done
done >"$tmp/blobs"
(cd data/level && find . -type f \( -name '*.qzl' -o -name '*.txt' \) | sort | while read -r f; do
  checkname "$f"
  echo "worktree$tab${f#./}"
done) >>"$tmp/blobs"

while IFS="$tab" read -r blob path; do
  checkname "$path"
  if [ "$blob" = worktree ]; then sum=$(sha256sum <"data/level/$path"); else sum=$(git cat-file blob "$blob" | sha256sum); fi
  echo "${sum%% *}  $path"
done < <(sort -u "$tmp/blobs") | sort -u -k2 -k1,1 >dist/shipped-levels.sha256

# Renames: old level names in the order their commits came, newest first,
# each once.
(cd data/level && find . -type f -name '*.qzl' | sed 's|^\./||; s|\.qzl$||' | sort) >"$tmp/current"
cut -f2 "$tmp/blobs" | sed -n 's|\.qzl$||p' | awk '!seen[$0]++' >"$tmp/history"
: >dist/level-renames.txt
while read -r old; do
  grep -qxF -- "$old" "$tmp/current" && continue
  pack=${old%%/*}; name=${old#*/}; title=${name#* }
  [ "$title" != "$name" ] || continue
  # The same title under exactly one current name of the pack.
  matches=$(while read -r now; do
    n=${now#*/}
    if [ "${now%%/*}" = "$pack" ] && [ "${n#* }" = "$title" ] && [ "$n" != "$title" ]; then echo "$now"; fi
  done <"$tmp/current")
  [ -n "$matches" ] && [ "$(echo "$matches" | wc -l)" = 1 ] || continue
  echo "$old$tab$matches" >>dist/level-renames.txt
done <"$tmp/history"
echo "$(wc -l <dist/shipped-levels.sha256) shipped files, $(wc -l <dist/level-renames.txt) renames"
