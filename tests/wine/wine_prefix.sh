#!/usr/bin/env bash
# wine_prefix.sh setup|stop PREFIX
# setup: a fresh Wine prefix for this test run (the old one is removed), with
# no Mono or Gecko installer and no crash dialog, and the zh_CN.UTF-8 locale
# beside it. stop: ends its Wine server.
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
set -euo pipefail

action=${1:?usage: wine_prefix.sh setup|stop PREFIX}
export WINEPREFIX=${2:?usage: wine_prefix.sh setup|stop PREFIX}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

case "$action" in
  setup)
    for tool in wine wineboot wineserver xvfb-run localedef; do
      command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
    done
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    locales="$(dirname "$WINEPREFIX")/locale"
    if [ ! -f "$locales/zh_CN.UTF-8/LC_CTYPE" ]; then
      mkdir -p "$locales"
      localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8" ||
        { echo "FAIL: localedef could not make zh_CN.UTF-8 (the locales package has its sources)"; exit 1; }
    fi
    timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
      sh -c 'wineboot -i &&
             wine reg add "HKCU\Software\Wine\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null &&
             wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null &&
             wineserver -w'
    # wineboot's exit status says little; the prefix's registry says it ran.
    [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: wineboot did not make $WINEPREFIX"; exit 1; }
    echo "Wine prefix ready: $WINEPREFIX"
    ;;
  stop)
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: wine_prefix.sh setup|stop PREFIX" >&2
    exit 2
    ;;
esac
