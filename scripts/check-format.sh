#!/usr/bin/env bash
# check-format.sh [ROOT]
# Fails when a C++ file of the project is not laid out as .clang-format says;
# `clang-format -i FILE` lays it out.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
command -v clang-format >/dev/null || { echo "FAIL: clang-format is not installed (scripts/install-deps.sh installs it)"; exit 1; }
mapfile -t files < <(find src standin tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "FAIL: not laid out as .clang-format says (clang-format -i lays them out):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "Layout kept: ${#files[@]} files"
