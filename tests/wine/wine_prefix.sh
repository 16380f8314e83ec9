#!/usr/bin/env bash
# wine_prefix.sh setup|ensure PREFIX win32|win64
# wine_prefix.sh stop PREFIX
#
# setup: a fresh Wine prefix of the given architecture (the old one is
# removed), with no Mono or Gecko installer and no crash dialog, unmanaged
# windows, the Song-style CJK font for SimSun, and the zh_CN.UTF-8 locale
# beside it. ensure: keeps the prefix when it is of that architecture and
# starts (a trivial program runs and prints), and remakes it otherwise.
# Both check that the prefix they leave starts. stop: ends its Wine server.
#
# Why the check: a prefix made before 32-bit Wine was installed fails
# afterwards with "could not load kernel32.dll"; it has to be made again.
#
# Why the locale: LC_ALL=zh_CN.UTF-8 gives Windows programs code page 936,
# but Wine's Unix side sets that locale too, and where it is not installed
# stays in "C". unixODBC then narrows every wide text for the SQLite driver to
# ASCII and Chinese text is lost. A private copy made with localedef and found
# through LOCPATH needs no change to the system.
#
# Why unmanaged windows: there is no window manager on the virtual display,
# and Wine waits up to 2 seconds for one whenever a window it hands to the
# window manager (a message box, any window with a caption or sizing frame)
# is shown or hidden. With Managed=N Wine places every window itself.
#
# Why the font replacement: with only WenQuanYi Zen Hei, every face the editor
# asks for is drawn with it, and at 12 pixels it loses strokes of Chinese
# characters and draws no '-' at all (a minus sign vanishes from an amount).
# AR PL UMing CN (fonts-arphic-uming) draws them whole; Tahoma reaches it
# through its font link to SimSun. Installing the font alone changes nothing.
set -euo pipefail

usage() {
  echo "usage: wine_prefix.sh setup|ensure PREFIX win32|win64; wine_prefix.sh stop PREFIX" >&2
  exit 2
}

action=${1:-}
export WINEPREFIX=${2:-}
[ -n "$action" ] && [ -n "$WINEPREFIX" ] || usage
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
source "$(dirname "$0")/wine_loader.sh"

# Prints the architecture recorded in the prefix's registry, or nothing.
prefix_arch() {
  sed -n 's/^#arch=\(win[0-9]*\)$/\1/p' "$WINEPREFIX/system.reg" 2>/dev/null | head -n 1
}

# True when a trivial program runs in the prefix and prints.
prefix_starts() {
  local said
  said=$(timeout 120 wine cmd /c echo tarnvex-prefix-ok 2>&1 | tr -d '\r') || true
  grep -qx tarnvex-prefix-ok <<<"$said"
}

# The prefix's settings, as a registry file: regedit reads UTF-16 with a byte
# order mark, which keeps the Chinese face name whatever the shell's locale.
settings_file() {
  local file=$1
  iconv -f UTF-8 -t UTF-16 >"$file" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="AR PL UMing CN"
"宋体"="AR PL UMing CN"
REG
}

make_prefix() {
  local arch=$1
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  local settings
  settings=$(mktemp --suffix=.reg)
  settings_file "$settings"
  WINEARCH=$arch timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    sh -c 'wineboot -i && wine regedit /s "$(winepath -w "$1")" && wineserver -w' sh "$settings"
  rm -f "$settings"
  # wineboot's exit status says little; the prefix's registry says it ran.
  [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: wineboot did not make $WINEPREFIX"; exit 1; }
}

make_locale() {
  local locales
  locales="$(dirname "$WINEPREFIX")/locale"
  if [ ! -f "$locales/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$locales"
    localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8" ||
      { echo "FAIL: localedef could not make zh_CN.UTF-8 (the locales package has its sources)"; exit 1; }
  fi
}

case "$action" in
  setup|ensure)
    arch=${3:-}
    [ "$arch" = win32 ] || [ "$arch" = win64 ] || usage
    if [ "$arch" = win32 ]; then tarnvex_need_wine32; fi
    for tool in wine wineboot wineserver winepath xvfb-run localedef iconv; do
      command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
    done
    make_locale
    if [ "$action" = setup ]; then
      make_prefix "$arch"
    elif [ "$(prefix_arch)" != "$arch" ]; then
      echo "No $arch prefix at $WINEPREFIX: making it"
      make_prefix "$arch"
    elif ! prefix_starts; then
      echo "The Wine prefix $WINEPREFIX does not start: making it again"
      make_prefix "$arch"
    fi
    prefix_starts || { echo "FAIL: the Wine prefix $WINEPREFIX was made but does not start a program"; exit 1; }
    wineserver -w
    echo "Wine prefix ready ($arch): $WINEPREFIX"
    ;;
  stop)
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
    ;;
  *)
    usage
    ;;
esac
