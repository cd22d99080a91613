#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# native tests under the sanitizers, fuzzing smoke runs, and the Windows test
# programs and end-to-end cases under Wine on virtual displays with fresh
# prefixes, on the Windows build this machine runs (scripts/windows-road.sh;
# KAPTURA_WIN64=1 takes the 64-bit one anywhere).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
# The session sets up the services the Windows programs use (the print
# queue) before it makes any prefix: Wine takes in what it finds then.
source "$root/scripts/wine-session.sh"
cd "$root/build"
status=0
ctest --output-on-failure -j"$(nproc)" --timeout 900 || status=$?
case "$KAPTURA_ROAD" in
  win64) echo "Windows tests ran on the 64-bit test build (build/win64) under wine64: $KAPTURA_ROAD_WHY." ;;
  *) echo "Windows tests ran on the 32-bit product (build/win) under wine: $KAPTURA_ROAD_WHY." ;;
esac
exit "$status"
