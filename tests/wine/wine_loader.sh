# Sourced by the scripts that run Wine; bash.
#
# 32-bit Wine's loader is an i386 program, and once it is installed `wine`
# always starts with it, 64-bit programs included. A kernel built without
# 32-bit support refuses it ("Exec format error"): on such a machine 64-bit
# Wine is reached directly, through a `wine` of our own first on PATH, and the
# 32-bit runs are skipped (exit status 77, which ctest reports as skipped)
# with a message saying why.

tarnvex_wine32_runs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Ends the calling script as skipped when 32-bit programs cannot run here.
tarnvex_need_wine32() {
  if ! tarnvex_wine32_runs; then
    echo "SKIPPED: this machine's kernel does not run 32-bit (i386) programs, so 32-bit" \
         "Wine cannot start; the 32-bit build is tested where it can"
    exit 77
  fi
}

if [ -x /usr/lib/wine/wine ] && [ -x /usr/lib/wine/wine64 ] && ! tarnvex_wine32_runs; then
  tarnvex_wine_shim=${TMPDIR:-/tmp}/tarnvex-wine64-loader
  mkdir -p "$tarnvex_wine_shim"
  for tarnvex_name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$tarnvex_wine_shim/$tarnvex_name"
    chmod +x "$tarnvex_wine_shim/$tarnvex_name"
  done
  export PATH="$tarnvex_wine_shim:$PATH"
fi
