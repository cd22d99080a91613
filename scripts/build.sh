#!/usr/bin/env bash
# Builds every configuration: the Windows product (32-bit, build/win), the
# 64-bit test build of the same sources (build/win64) and the native test
# build under the sanitizers (build/native). Both Windows builds are made on
# every machine, so that a change breaking either never lands; the tests of
# the one this machine runs (scripts/windows-road.sh) join the native ones.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${KAPTURA_JOBS:-$(nproc)}
build_times=""
timed_build() {
  local started=$SECONDS
  cmake --build "$root/build/$1" -j"$jobs"
  build_times="$build_times${build_times:+, }build/$1 $((SECONDS - started)) s"
}
for arch in i686:win x86_64:win64; do
  cmake -S "$root" -B "$root/build/${arch#*:}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${arch%%:*}.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  timed_build "${arch#*:}"
done
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
timed_build native
echo "Build times: $build_times"
# One test tree over the native build and the Windows build this machine
# runs, so that one CTest run in build/ reports everything.
source "$root/scripts/windows-road.sh"
printf 'subdirs("native" "%s")\n' "$(basename "$KAPTURA_ROAD_BUILD")" > "$root/build/CTestTestfile.cmake"
