#!/usr/bin/env bash
# check-layers.sh [ROOT]
# Reads the #include lines of src/ and standin/ and fails on one that runs up
# the layers. The layers, bottom first:
#
#   text -> host -> widgets -> {embedding, popups} -> editor -> plugin
#
# with the stand-in host (standin/) above them all. A file may include its own
# folder and folders of lower layers only (embedding and popups stand side by
# side and include neither each other). Only the win32/ folders, files named
# *_win32.cpp (the Windows half of a portable module), the DLL (src/plugin)
# and the stand-in include <windows.h> or a win32/ header of another folder.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

rank() {
  case "$1" in
    text) echo 1 ;;
    host) echo 2 ;;
    widgets) echo 3 ;;
    embedding|popups) echo 4 ;;
    editor) echo 5 ;;
    plugin) echo 6 ;;
    standin) echo 7 ;;
    *) echo 0 ;;
  esac
}

# The layer of a file, from its path: src/<layer>/... or standin/...
layer_of() {
  case "$1" in
    standin/*) echo standin ;;
    src/*) cut -d/ -f2 <<<"$1" ;;
  esac
}

# True when the file may use the Windows API directly.
windows_side() {
  case "$1" in
    */win32/*|*_win32.cpp|src/plugin/*|standin/*) return 0 ;;
    *) return 1 ;;
  esac
}

faults=0
checked=0
while IFS= read -r file; do
  layer=$(layer_of "$file")
  own=$(rank "$layer")
  if [ "$own" -eq 0 ]; then
    echo "FAIL: $file is in no known layer (add its folder to scripts/check-layers.sh)"
    faults=$((faults + 1))
    continue
  fi
  while IFS= read -r line; do
    checked=$((checked + 1))
    if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<windows\.h\> ]]; then
      if ! windows_side "$file"; then
        echo "FAIL: $file includes <windows.h> outside the Windows side"
        faults=$((faults + 1))
      fi
      continue
    fi
    [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    [[ $target == */* ]] || continue  # generated or local headers
    folder=${target%%/*}
    case "$target" in
      generated/*) continue ;;
    esac
    theirs=$(rank "$folder")
    if [ "$theirs" -eq 0 ]; then
      continue  # not one of ours (a system or third-party path)
    fi
    if [ "$folder" != "$layer" ] && [ "$theirs" -ge "$own" ]; then
      echo "FAIL: $file ($layer) includes $target ($folder): the include runs up the layers"
      faults=$((faults + 1))
    fi
    if [[ $target == */win32/* ]] && ! windows_side "$file"; then
      echo "FAIL: $file includes the Windows-only $target from a portable file"
      faults=$((faults + 1))
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find src standin -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) | sort)

if [ "$faults" -ne 0 ]; then
  echo "$faults include(s) break the layers"
  exit 1
fi
echo "Layers kept: $checked includes read, none runs up"
