#!/usr/bin/env bash
# Holds src/ to the folder order in src/layers.txt: no file includes a
# header from a folder above its own unless the list allows that one
# include, every folder is listed, and no core file includes SDL or OpenGL
# (the compiler cannot tell: both sets of headers lie on the default path).
#   bash tests/cli/layering.sh BUILD SRC
set -eu
src=${2:-.}/src
declare -A rank allowed
n=0
while read -r kind a b _; do
  case $kind in
    layer) rank[$a]=$n; n=$((n + 1)) ;;
    allow) allowed["$a $b"]=1 ;;
  esac
done < <(grep -E '^(layer|allow) ' "$src/layers.txt")

faults=0
fault() { echo "$1"; faults=$((faults + 1)); }
cd "$src"
for file in */*.cpp */*.h; do
  folder=${file%%/*}
  [ -n "${rank[$folder]+x}" ] || { fault "$file: folder $folder is not in layers.txt"; continue; }
  core=1
  case $file in *_sdl.cpp | *_gl.cpp | screens/screenframe.cpp) core=0 ;; esac
  while IFS= read -r line; do
    if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<\"](SDL|GL/) ]]; then
      [ $core = 0 ] || fault "$file: a core file includes SDL or OpenGL: $line"
    elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z0-9_]+)/([^\"]+)\" ]]; then
      to=${BASH_REMATCH[1]} header="${BASH_REMATCH[1]}/${BASH_REMATCH[2]}"
      [ "$to" = "$folder" ] && continue
      [ -n "${rank[$to]+x}" ] || { fault "$file: includes $header from an unknown folder"; continue; }
      [ "${rank[$to]}" -lt "${rank[$folder]}" ] && continue
      [ -n "${allowed["$file $header"]+x}${allowed["$file *"]+x}" ] && continue
      fault "$file: includes $header, from a folder above $folder"
    fi
  done < "$file"
done
if [ $faults -gt 0 ]; then
  echo "$faults includes break the order of src/layers.txt"
  exit 1
fi
echo "every include keeps to src/layers.txt"
