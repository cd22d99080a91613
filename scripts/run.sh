#!/usr/bin/env bash
# Installs what is missing, builds, and starts the capture program (under
# Wine, on a virtual display when no display is set). A machine that cannot
# run 32-bit code starts the 64-bit build of it instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/wine-session.sh"
if [ "$KAPTURA_ROAD" = win64 ]; then
  echo "Starting the 64-bit build of Kaptura99 (build/win64) under wine64: $KAPTURA_ROAD_WHY."
fi
cd "$KAPTURA_ROAD_BUILD/bin"
kwine Kaptura99.exe
kwineserver -w
