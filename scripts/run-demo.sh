#!/usr/bin/env bash
# Opens the allowance item settings editor on the demo database: installs what
# is missing, builds the stand-in host and the plug-in for Windows and the
# database tool natively, makes the demo database with tarnvex-db and starts
# tarnvex-host.exe under Wine.
#
# By default the 64-bit pair runs in a 64-bit prefix; with --win32 the shipped
# build does: the 32-bit host with the 32-bit DLL in a 32-bit prefix.
#
# With a display ($DISPLAY) the editor opens there and the script ends when
# the operator closes it. Without one it runs on a virtual display, saves a
# screenshot of the running editor, says where, and stops.
#
#   scripts/run-demo.sh [--win32] [SCREENSHOT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
demo=$root/build/demo

preset=mingw-x86_64
arch=win64
if [ "${1:-}" = --win32 ]; then
  preset=mingw-i686
  arch=win32
  shift
fi
screenshot=${1:-$demo/editor.png}

scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native --target tarnvex-db
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tarnvex-host SubsidySet
bin=$root/build/$preset/bin

mkdir -p "$demo"
database=$demo/demo.db
tool=$(find "$root/build/native" -name tarnvex-db -type f -perm -u+x | head -n 1)
[ -n "$tool" ] || { echo "tarnvex-db was not built" >&2; exit 1; }
# The stand-in reads and writes text as UTF-8 whatever the shell's locale.
"$tool" create --sqlite "$database" --replace --demo

export WINEPREFIX=$demo/wineprefix-$arch
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
source tests/wine/wine_loader.sh
# Code page 936 for the ANSI functions; the locale comes from beside the prefix.
export LC_ALL=zh_CN.UTF-8
export LOCPATH=$demo/locale
# Made on the first run; made again when it no longer starts a program.
tests/wine/wine_prefix.sh ensure "$WINEPREFIX" "$arch"

# The host finds Tarnvexpos.ini and the plug-in beside itself.
host=(wine "$bin/tarnvex-host.exe" --operator 0001 --sqlite "$database")

if [ -n "${DISPLAY:-}" ]; then
  # The prefix leaves windows unmanaged, for virtual displays without a window
  # manager; on a real desktop its window manager frames them.
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  echo "Opening the editor on $DISPLAY; close it (退出 or Esc) to end."
  (cd "$bin" && "${host[@]}")
  wineserver -w
  exit 0
fi

# No display: a virtual one. The script inside compares pictures of the
# screen: the editor is up once the picture has changed from the empty screen
# and then stays still (loading blocks painting for a moment, so one still
# picture alone proves nothing).
mkdir -p "$(dirname "$screenshot")"
export TARNVEX_SHOT=$screenshot TARNVEX_BIN=$bin
timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  cd "$TARNVEX_BIN"
  empty=$(mktemp --suffix=.png); previous=$(mktemp --suffix=.png); current=$(mktemp --suffix=.png)
  trap "rm -f \"$empty\" \"$previous\" \"$current\"" EXIT
  import -window root "$empty"
  "$@" &
  host=$!
  cp "$empty" "$previous"
  up=""
  for _ in $(seq 1 240); do
    sleep 0.5
    kill -0 "$host" 2>/dev/null || break
    import -window root "$current"
    if ! cmp -s "$current" "$empty" && cmp -s "$current" "$previous"; then up=1; break; fi
    cp "$current" "$previous"
  done
  if [ -z "$up" ]; then
    echo "the editor did not come up" >&2
    kill "$host" 2>/dev/null
    wineserver -k 2>/dev/null
    exit 1
  fi
  cp "$current" "$TARNVEX_SHOT"
  kill "$host" 2>/dev/null
  wineserver -k 2>/dev/null
  true
' bash "${host[@]}"
echo "Screenshot of the running editor: $screenshot"
