#!/usr/bin/env bash
# check_no_test_hooks.sh ZIP
# The DLL in the release package carries nothing made for the tests: none of
# the names below occurs in it, neither as ASCII (narrow strings, symbol and
# type names) nor as UTF-16LE (wide strings). They are the prefix of every
# environment variable the tests set and the names of the code that only the
# tests build: the creation calls that fail on request, the variant of the DLL
# that holds them, and the headless platform.
set -euo pipefail

zip=${1:?usage: check_no_test_hooks.sh ZIP}
names=(
  TARNVEX_
  CreationFault
  CreationKind
  CreateWindowOrFail
  CreateImageListOrFail
  SetHookOrFail
  SubsidySet_faults
  HeadlessPlatform
  ScriptAnswer
)
if [ ! -f "$zip" ]; then
  echo "FAIL: $zip is missing: build the package first" \
       "(cmake --build --preset mingw-i686 --target package; scripts/test.sh does it)"
  exit 1
fi
zip=$(realpath "$zip")
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip" SubsidySet.dll)
dll=$unpacked/SubsidySet.dll

# Whether the DLL holds the Perl pattern; grep's own failure stops the check
# rather than passing as "not found".
holds() {
  local status=0
  LC_ALL=C grep -q -a -P -- "$1" "$dll" || status=$?
  case $status in
    0) return 0 ;;
    1) return 1 ;;
    *) echo "FAIL: grep could not search $dll"; exit 1 ;;
  esac
}

found=0
for name in "${names[@]}"; do
  if holds "$name"; then
    echo "FAIL: SubsidySet.dll holds the test name $name"
    found=$((found + 1))
  fi
  if holds "$(sed 's/./&\\x00/g' <<<"$name")"; then
    echo "FAIL: SubsidySet.dll holds the test name $name as a wide string"
    found=$((found + 1))
  fi
done
if [ "$found" -ne 0 ]; then
  exit 1
fi
echo "SubsidySet.dll in $(basename "$zip") holds none of: ${names[*]}"
