#!/usr/bin/env bash
# check_i686_exports.sh DLL
# The shipped 32-bit DLL must export exactly the undecorated name
# GetfrmSubsidySet, and the function there must remove its five 32-bit
# arguments itself (stdcall): every return of it is "ret $0x14".
set -euo pipefail

dll=${1:?usage: check_i686_exports.sh DLL}
objdump=i686-w64-mingw32-objdump
if [ ! -f "$dll" ]; then
  echo "FAIL: $dll is missing: build the mingw-i686 preset first" \
       "(cmake --preset mingw-i686 && cmake --build --preset mingw-i686; scripts/test.sh does both)"
  exit 1
fi
headers=$("$objdump" -p "$dll")

names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | tail -n +2 | grep -E '^\s*\[' | awk '{print $NF}')
if [ "$names" != "GetfrmSubsidySet" ]; then
  echo "FAIL: the exported names are not exactly GetfrmSubsidySet:"
  echo "$names"
  exit 1
fi

image_base=$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$headers")
export_rva=$(sed -n '/Export Address Table -- Ordinal Base/,/^$/p' <<<"$headers" |
             awk '/Export RVA/ {print $(NF-2); exit}')
address=$(printf '%08x' $((16#$image_base + 16#$export_rva)))

# The function's instructions: from its label to the next label.
body=$("$objdump" -d --no-show-raw-insn "$dll" |
       awk -v start="$address" '
         /^[0-9a-f]+ <.*>:$/ { inside = ($1 == start) ; next }
         inside && NF { print }')
if [ -z "$body" ]; then
  echo "FAIL: no code found at the export's address 0x$address"
  exit 1
fi
returns=$(grep -E '\sret' <<<"$body" || true)
if [ -z "$returns" ] || grep -vqE 'ret\s+\$0x14$' <<<"$returns"; then
  echo "FAIL: GetfrmSubsidySet does not return with ret \$0x14 on every path:"
  echo "${returns:-(no ret found)}"
  exit 1
fi
echo "GetfrmSubsidySet exported undecorated; returns: $(wc -l <<<"$returns") x ret \$0x14"
