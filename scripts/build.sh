#!/usr/bin/env bash
# Builds both configurations: the Windows product (build/win) and the native
# test build under the sanitizers (build/native).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win" -j"$jobs"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/native" -j"$jobs"
# One test tree over both builds, so that one CTest run reports everything.
printf 'subdirs("native" "win")\n' > "$root/build/CTestTestfile.cmake"
