#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset (the native
# one with its tests and benchmarks, both Windows cross builds) and the release
# package of the shipped 32-bit build, and runs every test through ctest (the
# Wine suite on both Windows builds), then the short smoke runs of the fuzz
# targets, then the native suite again under AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer. Extra arguments go to both
# native ctest runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native mingw-i686 mingw-x86_64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
cmake --build --preset mingw-i686 --target package

ctest --preset native "$@"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan "$@"
