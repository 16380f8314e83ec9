#!/usr/bin/env bash
# check_i686_package.sh ZIP
# The release package (cmake --build --preset mingw-i686 --target package)
# holds exactly the shipped DLL, the documents for the host's developers and
# SHA256SUMS; every sum matches; the DLL is the 32-bit one with the
# undecorated stdcall export.
set -euo pipefail

zip=${1:?usage: check_i686_package.sh ZIP}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$zip" ]; then
  echo "FAIL: $zip is missing: build the package first" \
       "(cmake --build --preset mingw-i686 --target package; scripts/test.sh does it)"
  exit 1
fi
zip=$(realpath "$zip")

expected=$'SHA256SUMS\nSubsidySet.dll\ndocs/data-packet.md\ndocs/host-integration.md'
listed=$(cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort)
if [ "$listed" != "$expected" ]; then
  echo "FAIL: the package holds other files than expected:"
  echo "$listed"
  exit 1
fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
(cd "$unpacked" && sha256sum --strict -c SHA256SUMS) || { echo "FAIL: SHA256SUMS does not match the files"; exit 1; }
if [ "$(wc -l <"$unpacked/SHA256SUMS")" -ne 3 ]; then
  echo "FAIL: SHA256SUMS does not list the three files"
  exit 1
fi

format=$(i686-w64-mingw32-objdump -f "$unpacked/SubsidySet.dll" | sed -n 's/.*file format //p')
if [ "$format" != "pei-i386" ]; then
  echo "FAIL: the packaged SubsidySet.dll is not the 32-bit build (file format ${format:-unknown})"
  exit 1
fi
"$here/check_i686_exports.sh" "$unpacked/SubsidySet.dll"
echo "Package $(basename "$zip"): $(tr '\n' ' ' <<<"$listed")"
