#!/usr/bin/env bash
# run_wine_test.sh PREFIX PRESET PROGRAM [ARGUMENT...]
# Runs a Windows test program under Wine on a virtual display and decides from
# the program's own closing line "N passed, N failed": Wine's exit status is
# not to be trusted (a program that cannot even start may exit 0). The program
# gets TARNVEX_WINE_SECONDS seconds (300 when unset). PRESET names the cross
# build that makes the program, for the message when it is missing.
set -uo pipefail

usage="usage: run_wine_test.sh PREFIX PRESET PROGRAM [ARGUMENT...]"
export WINEPREFIX=${1:?$usage}
preset=${2:?$usage}
program=${3:?$usage}
shift 3
source "$(dirname "$0")/wine_loader.sh"
if [ "$preset" = mingw-i686 ]; then tarnvex_need_wine32; fi

if [ ! -f "$program" ]; then
  echo "FAIL: $program is missing: build the $preset preset first" \
       "(cmake --preset $preset && cmake --build --preset $preset; scripts/test.sh does both)"
  exit 1
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "FAIL: no Wine prefix at $WINEPREFIX (the wine32_prefix_setup and wine64_prefix_setup tests make them)"
  exit 1
fi

export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
export LC_ALL=zh_CN.UTF-8
# The locale that wine_prefix.sh made beside the prefix (see there why).
export LOCPATH="$(dirname "$WINEPREFIX")/locale"
if [ -n "${TARNVEX_WINE_SCRATCH:-}" ]; then
  rm -rf "$TARNVEX_WINE_SCRATCH"
  mkdir -p "$TARNVEX_WINE_SCRATCH"
fi

output=$(mktemp)
trap 'rm -f "$output"' EXIT
timeout "${TARNVEX_WINE_SECONDS:-300}" xvfb-run -a -s "-screen 0 1280x1024x24" wine "$program" "$@" 2>&1 | tee "$output"
echo "(wine's exit status, not used: ${PIPESTATUS[0]})"

closing=$(tr -d '\r' <"$output" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n 1)
if [ -z "$closing" ]; then
  echo "FAIL: the test program printed no closing line \"N passed, N failed\""
  exit 1
fi
read -r passed _ failed _ <<<"$closing"
if [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
  echo "FAIL: $closing"
  exit 1
fi
exit 0
