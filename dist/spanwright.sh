#!/bin/sh
# Start the game in the player's own data directory.
#
# The game reads and writes everything relative to its working directory, so
# each player gets a directory of their own under $XDG_DATA_HOME. It is filled
# from the installed data on every start:
#   - images the player never edits are refreshed from the installation, so an
#     upgrade brings new ones;
#   - levels and hints an earlier installation left there, unchanged, are
#     brought up to date (see upgradelevels below);
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

# Upgrades. An earlier installation may have left other versions of a level
# or hint, or a level under an old name (a pack was reordered), and copying
# only what is missing would keep those forever, old names beside new ones.
# shipped-levels.sha256 lists every version of every level and hint we ever
# shipped, level-renames.txt each old level name with the one it has now. A
# file in the player's pack that is byte for byte one we shipped under its
# name is ours: it is replaced by the installed one, or removed when that
# name is no longer shipped. Anything else is the player's and stays. When a
# removed level has a new name, the player's bridge follows it (unless one is
# there already), its records lines are renamed, and the pack's progress
# flags, which the game keeps by position in the level list, follow every
# level to where it now stands.
#
# The level files change last, so a start cut short before then finds its
# work still to do: bridges and records move only where they have not yet,
# and the progress is computed once, into "<pack>.pro.spanwright-new", which
# is moved into place only after the level files match it.
shipped="$shared/shipped-levels.sha256"
renames="$shared/level-renames.txt"
nl='
'
tab='	'
cr=$(printf '\r')
zero='\0000\0000\0000\0000'
# Far above any level we ship; a bigger file is not hashed on every start.
maxshipped=1048576

exists() { [ -e "$1" ] || [ -L "$1" ]; }
plainfile() { [ -f "$1" ] && [ ! -L "$1" ]; }

# Whether the game lists a regular file of this name as a level: its matcher
# for "*.qzl" step for step (so a name without a dot matches too), names of
# 32 bytes or more and those beginning with '<' left out.
islevelname() {
  case "$1" in "<"*) return 1 ;; esac
  [ "${#1}" -lt 32 ] || return 1
  # Names of their own: callers keep theirs in f, n and the like.
  mp='*.qzl' mn=$1
  while [ -n "$mp" ] && [ -n "$mn" ]; do
    mpc=${mp%"${mp#?}"} mnc=${mn%"${mn#?}"}
    if [ "$mpc" = "$mnc" ]; then
      mp=${mp#?}
    elif [ "$mpc" != "*" ]; then
      return 1
    else
      mrest=${mp#?}
      if [ "${mrest%"${mrest#?}"}" = "$mnc" ]; then mp=${mp#??}; fi
    fi
    mn=${mn#?}
  done
}

# The game's level list of pack directory $1 as sorted file names, one a
# line, once the names in $2 are gone and those in $3 are there (lists one a
# line). Fails on a name holding a newline, which a line cannot carry.
levelfiles() {
  out=
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    [ -f "$f" ] || continue
    n=${f##*/}
    case "$n" in *"$nl"*) return 1 ;; esac
    case "$nl$2" in *"$nl$n$nl"*) continue ;; esac
    if islevelname "$n"; then out="$out$n$nl"; fi
  done
  while IFS= read -r n; do
    if [ -n "$n" ] && islevelname "$n"; then out="$out$n$nl"; fi
  done <<EOF
$3
EOF
  printf '%s' "$out" | sort
}

# Line $2 (from 0) of $1, or nothing.
line() {
  i=0
  while IFS= read -r l; do
    if [ "$i" -eq "$2" ]; then printf '%s' "$l"; return 0; fi
    i=$((i + 1))
  done <<EOF
$1
EOF
}

# Where $2 stands in the list $1 (from 0); 64 when not among the first 64.
position() {
  i=0
  while [ "$i" -lt 64 ] && IFS= read -r l; do
    if [ "$l" = "$2" ]; then break; fi
    i=$((i + 1))
  done <<EOF
$1
EOF
  if [ "$l" = "$2" ]; then echo "$i"; else echo 64; fi
}

# The progress of pack $1, whose level files $2 go and $3 arrive, with the
# renamed levels $4 ("old<TAB>new" lines): each flag moves with its level's
# name, a renamed level's to its new name. A flag that is set wins over one
# that is not, so no "passed" is lost where two old names become one.
moveprogress() {
  pro="$data/bridge/$1.pro"
  journal="$pro.spanwright-new"
  if exists "$journal" || ! plainfile "$pro"; then return 0; fi
  before=$(levelfiles "$data/level/$1" "" "") || return 0
  after=$(levelfiles "$data/level/$1" "$2" "$3") || return 0
  if [ -z "$before" ] || [ -z "$after" ]; then return 0; fi
  flags=$(od -An -v -to1 -w4 -N256 "$pro")
  old='' oldbytes=''
  k=0
  while read -r a b c d; do
    # A cut last entry is no flag to the game either.
    if [ -n "$d" ]; then
      old="$old\\0$a\\0$b\\0$c\\0$d$nl"
      oldbytes="$oldbytes\\0$a\\0$b\\0$c\\0$d"
      k=$((k + 1))
    fi
  done <<EOF
$flags
EOF
  while [ "$k" -lt 64 ]; do oldbytes="$oldbytes$zero"; k=$((k + 1)); done
  newbytes=
  j=0
  while [ "$j" -lt 64 ]; do
    f=$(line "$after" "$j")
    v=
    if [ -n "$f" ]; then
      i=$(position "$before" "$f")
      if [ "$i" -lt 64 ]; then v=$(line "$old" "$i"); fi
      while IFS="$tab" read -r r n; do
        if [ "${v:-$zero}" = "$zero" ] && [ -n "$r" ] && [ "$n.qzl" = "$f" ]; then
          i=$(position "$before" "$r.qzl")
          if [ "$i" -lt 64 ]; then v=$(line "$old" "$i"); fi
        fi
      done <<EOF
$4
EOF
    fi
    newbytes="$newbytes${v:-$zero}"
    j=$((j + 1))
  done
  if [ "$newbytes" = "$oldbytes" ]; then return 0; fi
  printf '%b' "$newbytes" >"$journal.spanwright-tmp$$"
  if [ "$(wc -c <"$journal.spanwright-tmp$$")" -ne 256 ]; then
    echo "spanwright: could not write $journal" >&2
    exit 1
  fi
  mv -f "$journal.spanwright-tmp$$" "$journal"
}

# Bridges of pack $1 move to the new names of $2 ("old<TAB>new" lines). All
# leave for a side directory first, so a name that another bridge leaves is
# free when one arrives there, whatever chains or cycles the renames make;
# $3, every rename of the pack, also finds bridges a start cut short left
# there. A bridge whose new name is taken goes back to its old one.
movebridges() {
  b="$data/bridge/$1"
  side="$b/.spanwright-mv"
  [ -d "$b" ] || return 0
  while IFS="$tab" read -r r n; do
    if [ -n "$r" ] && exists "$b/$r.qzb" && ! exists "$side/$r.qzb"; then
      if [ ! -d "$side" ]; then mkdir "$side"; fi
      mv "$b/$r.qzb" "$side/$r.qzb"
    fi
  done <<EOF
$2
EOF
  if [ ! -d "$side" ] || [ -L "$side" ]; then return 0; fi
  while IFS="$tab" read -r r n; do
    if [ -n "$r" ] && exists "$side/$r.qzb"; then
      if ! exists "$b/$n.qzb"; then
        mv "$side/$r.qzb" "$b/$n.qzb"
      elif ! exists "$b/$r.qzb"; then
        mv "$side/$r.qzb" "$b/$r.qzb"
      fi
    fi
  done <<EOF
$3
EOF
  rmdir "$side" 2>/dev/null || :
}

# The level name the game reads from a records line: all before the last two
# words, or before " failed <n> tests", once trailing spaces and CRs are cut.
recordname() {
  t=$1
  while :; do
    case "$t" in *" " | *"$cr") t=${t%?} ;; *) break ;; esac
  done
  case "$t" in
    *" failed "*" tests")
      name=${t% failed * tests}
      count=${t#"$name failed "}
      case "${count% tests}" in *" "*) ;; *) printf '%s' "$name" ;; esac
      ;;
    *" tests") ;;
    *" "*" "*) printf '%s' "${t% * *}" ;;
  esac
}

# Lines of records file $1 about the old names in $2 ("old<TAB>new" lines)
# take the new names. A file the game would not read whole, or one holding a
# NUL that a shell line cannot, is left as it is.
renamerecords() {
  f=$1
  if [ -z "$2" ] || ! plainfile "$f"; then return 0; fi
  size=$(wc -c <"$f")
  if [ "$size" -gt 65536 ] || [ "$(tr -d '\000' <"$f" | wc -c)" -ne "$size" ]; then return 0; fi
  changed=0
  while :; do
    eol=$nl
    if ! IFS= read -r l; then
      # The game skips a last line without its newline; it stays so.
      if [ -z "$l" ]; then break; fi
      eol=
    fi
    name=$(recordname "$l")
    pairs="$nl$2"
    case "$pairs" in
      *"$nl$name$tab"*)
        if [ -n "$name" ]; then
          rest=${pairs#*"$nl$name$tab"}
          l="${rest%%"$nl"*}${l#"$name"}"
          changed=1
        fi
        ;;
    esac
    printf '%s%s' "$l" "$eol"
    if [ -z "$eol" ]; then break; fi
  done <"$f" >"$f.spanwright-tmp$$"
  if [ "$changed" = 1 ]; then
    mv -f "$f.spanwright-tmp$$" "$f"
  else
    rm -f "$f.spanwright-tmp$$"
  fi
}

upgradelevels() {
  if [ ! -f "$shipped" ] || [ ! -d "$shared/level" ]; then return 0; fi
  cd "$data/level"
  # Each name the list knows that the player holds as a plain file, checked
  # once (the list is sorted by name).
  set --
  prev=
  while read -r _ rel; do
    if [ "$rel" = "$prev" ]; then continue; fi
    prev=$rel
    case "$rel" in
      /* | .* | */.* | */*/* | *"$cr") continue ;;
      ?*/?*) ;;
      *) continue ;;
    esac
    if plainfile "$rel" && [ ! -L "${rel%%/*}" ]; then set -- "$@" "$rel"; fi
  done <"$shipped"
  if [ $# -eq 0 ]; then return 0; fi
  held=$(stat -c '%s %n' -- "$@")
  set --
  while read -r size rel; do
    if [ -n "$rel" ] && [ "$size" -le "$maxshipped" ]; then set -- "$@" "$rel"; fi
  done <<EOF
$held
EOF
  if [ $# -eq 0 ]; then return 0; fi
  mine=$(sha256sum -- "$@")
  ours=$(cd "$shared/level" && for rel in "$@"; do
    shift
    if [ -f "$rel" ]; then set -- "$@" "$rel"; fi
  done && if [ $# -gt 0 ]; then sha256sum -- "$@"; fi)
  # Ours and stale: a version we shipped (in both the player's hashes and the
  # list), but not the installed one (which comes twice, so never alone).
  stale=$({ printf '%s\n' "$mine"; sort -u "$shipped"; } | sort | uniq -d |
    { cat; printf '%s\n%s\n' "$ours" "$ours"; } | sort | uniq -u)
  if [ -z "$stale" ]; then return 0; fi

  replaced='' removed=''
  while IFS= read -r s; do
    rel=${s#*  }
    if [ -f "$shared/level/$rel" ]; then replaced="$replaced$rel$nl"; else removed="$removed$rel$nl"; fi
  done <<EOF
$stale
EOF

  # Only removals change a pack's level list.
  packs=$(printf '%s' "$removed" | cut -d/ -f1 | sort -u)
  while IFS= read -r pack; do
    [ -n "$pack" ] || continue
    gone='' moved='' every=''
    while IFS= read -r rel; do
      case "$rel" in "$pack"/*) gone="$gone${rel#*/}$nl" ;; esac
    done <<EOF
$removed
EOF
    if [ -f "$renames" ]; then
      while IFS="$tab" read -r from to; do
        case "$from/$to" in "$pack"/*/"$pack"/*) ;; *) continue ;; esac
        r=${from#*/} n=${to#*/}
        case "$r/$n" in */*/* | .* | */.*) continue ;; esac
        every="$every$r$tab$n$nl"
        case "$nl$gone" in *"$nl$r.qzl$nl"*) moved="$moved$r$tab$n$nl" ;; esac
      done <"$renames"
    fi
    arriving=
    for f in "$shared/level/$pack"/*; do
      if [ -f "$f" ] && ! exists "$data/level/$pack/${f##*/}"; then arriving="$arriving${f##*/}$nl"; fi
    done
    moveprogress "$pack" "$gone" "$arriving" "$moved"
    movebridges "$pack" "$moved" "$every"
    renamerecords "$data/bridge/$pack.rec" "$moved"
  done <<EOF
$packs
EOF

  while IFS= read -r rel; do
    if [ -n "$rel" ]; then install_file "$shared/level/$rel" "$data/level/$rel"; fi
  done <<EOF
$replaced
EOF
  while IFS= read -r rel; do
    if [ -n "$rel" ]; then rm -f "$data/level/$rel"; fi
  done <<EOF
$removed
EOF
}

# Progress computed by an upgrade goes into place once the levels it was
# computed for are all there; never over anything but a plain file.
commitprogress() {
  for journal in "$data/bridge"/*.pro.spanwright-new; do
    plainfile "$journal" || continue
    pro=${journal%.spanwright-new}
    if exists "$pro" && ! plainfile "$pro"; then
      rm -f "$journal"
    else
      mv -f "$journal" "$pro"
    fi
  done
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

# Pack directories the player linked in from elsewhere: the game would leave
# them with ".." into the link's parent, so they become real ones too, before
# an upgrade changes anything inside them.
for pack in "$data/level"/* "$data/bridge"/*; do
  if [ -L "$pack" ] && [ -d "$pack" ]; then realdir "$pack"; fi
done

# In the C locale globs and sort order names byte by byte, as the game does.
(LC_ALL=C; export LC_ALL; upgradelevels)

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
commitprogress

cd "$data"
exec "$game" "$@"
