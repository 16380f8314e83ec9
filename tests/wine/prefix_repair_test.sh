#!/usr/bin/env bash
# prefix_repair_test.sh PREFIX ARCH SCRATCH
# A prefix that no longer starts a program is made again by
# `wine_prefix.sh ensure`, not failed on. The broken prefix is a copy of the
# test run's fresh one without its kernel32.dll, which fails the way a prefix
# made before 32-bit Wine was installed fails ("could not load kernel32.dll").
set -euo pipefail

prefix=${1:?usage: prefix_repair_test.sh PREFIX ARCH SCRATCH}
arch=${2:?usage: prefix_repair_test.sh PREFIX ARCH SCRATCH}
scratch=${3:?usage: prefix_repair_test.sh PREFIX ARCH SCRATCH}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_loader.sh"
if [ "$arch" = win32 ]; then tarnvex_need_wine32; fi

rm -rf "$scratch"
mkdir -p "$scratch"
broken=$scratch/wineprefix
cp -a "$prefix" "$broken"
rm -f "$broken/drive_c/windows/system32/kernel32.dll"

export WINEPREFIX=$broken WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
said=$(timeout 120 wine cmd /c echo started 2>&1 | tr -d '\r') || true
if grep -qx started <<<"$said"; then
  echo "FAIL: the broken copy still starts a program; the test proves nothing"
  exit 1
fi
wineserver -k 2>/dev/null || true

output=$("$here/wine_prefix.sh" ensure "$broken" "$arch" 2>&1) || { echo "$output"; echo "FAIL: ensure failed on a broken prefix"; exit 1; }
echo "$output"
grep -q "does not start: making it again" <<<"$output" || { echo "FAIL: ensure did not remake the prefix"; exit 1; }
[ -f "$broken/drive_c/windows/system32/kernel32.dll" ] || { echo "FAIL: the remade prefix has no kernel32.dll"; exit 1; }

# A prefix that starts is kept as it is.
marker=$broken/drive_c/kept
touch "$marker"
"$here/wine_prefix.sh" ensure "$broken" "$arch" >/dev/null
[ -f "$marker" ] || { echo "FAIL: ensure remade a prefix that starts"; exit 1; }
"$here/wine_prefix.sh" stop "$broken"
rm -rf "$scratch"
echo "A broken $arch prefix was made again; a working one was kept"
