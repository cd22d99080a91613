#!/usr/bin/env bash
# Builds the benchmarks natively (optimised, no sanitizers) and runs them,
# or only the ones named: scripts/bench.sh bench_png bench_gif
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSANITIZE=OFF -DBUILD_FUZZERS=OFF \
  -DBUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cd "$build/bin"
if [ $# -eq 0 ]; then set -- $(ls bench_* 2>/dev/null); fi
for bench in "$@"; do echo "== $bench"; "./$bench"; done
