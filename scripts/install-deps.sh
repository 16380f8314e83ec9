#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Runs apt-get as root (directly, or through sudo when there is one).
#
# The shipped DLL is 32-bit, so 32-bit Wine runs it: that needs the i386
# architecture, and Wine's ODBC needs the 32-bit unixODBC and SQLite driver
# beside the 64-bit ones.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev googletest libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  postgresql sqlite3
  wine wine64 wine32:i386 libodbc2:i386 libsqliteodbc:i386
  xvfb xauth fonts-wine fonts-wqy-zenhei fonts-arphic-uming imagemagick locales
  libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

update_needed=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture (32-bit Wine)"
  "${as_root[@]}" dpkg --add-architecture i386
  update_needed=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && [ -z "$update_needed" ] && exit 0

"${as_root[@]}" apt-get update -qq
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
