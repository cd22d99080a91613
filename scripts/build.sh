#!/usr/bin/env bash
# Builds every configuration: the Windows product (32-bit, build/win), the
# 64-bit test build of the same sources (build/win64) and the native test
# build under the sanitizers (build/native). Both Windows builds are made on
# every machine, so that a change breaking either never lands; the tests of
# the one this machine runs (scripts/windows-road.sh) join the native ones.
#
# The three are made side by side: each alone leaves cores idle while it
# configures and links. Each one's output goes to build/<name>.log and is
# shown whole once all have ended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${KAPTURA_JOBS:-$(nproc)}
mkdir -p "$root/build"

build_names=() build_pids=()
# start_build <name> <compiler environment, or ""> <cmake configure arguments...>
start_build() {
  local name=$1 compilers=$2
  shift 2
  (
    started=$SECONDS
    # shellcheck disable=SC2086 # the compiler settings are words on purpose
    env $compilers cmake -S "$root" -B "$root/build/$name" "$@" >/dev/null
    cmake --build "$root/build/$name" -j"$jobs"
    echo "build/$name took $((SECONDS - started)) s"
  ) >"$root/build/$name.log" 2>&1 &
  build_names+=("$name")
  build_pids+=($!)
}

started=$SECONDS
for arch in i686:win x86_64:win64; do
  start_build "${arch#*:}" "" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${arch%%:*}.cmake" -DCMAKE_BUILD_TYPE=Release
done
start_build native "CC=clang CXX=clang++" -DCMAKE_BUILD_TYPE=Debug

status=0
for i in "${!build_names[@]}"; do
  name=${build_names[i]}
  if wait "${build_pids[i]}"; then
    echo "--- build/$name ($root/build/$name.log):"
    cat "$root/build/$name.log"
  else
    echo "--- build/$name FAILED ($root/build/$name.log):"
    cat "$root/build/$name.log"
    status=1
  fi
done
[ "$status" = 0 ] || exit "$status"
echo "Builds side by side took $((SECONDS - started)) s."
# One test tree over the native build and the Windows build this machine
# runs, so that one CTest run in build/ reports everything.
source "$root/scripts/windows-road.sh"
printf 'subdirs("native" "%s")\n' "$(basename "$KAPTURA_ROAD_BUILD")" > "$root/build/CTestTestfile.cmake"
