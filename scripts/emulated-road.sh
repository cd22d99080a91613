#!/usr/bin/env bash
# The 32-bit product's main road on a machine whose kernel refuses i386
# programs: in a namespace where they start under an emulator
# (scripts/emulated-i386.sh), the Windows test programs and the main road's
# end-to-end cases (the CTest labels windows_program and main_road) of
# build/win run under the 32-bit Wine, in a session of their own.
#
# KAPTURA_EMULATED_JOBS: cases at once (default 3; each emulated program
# keeps a core busy).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --inside ]; then
  # Another run's session is no use here: its prefix was made by the 64-bit
  # Wine alone.
  exec env -u KAPTURA_RUN_DIR -u KAPTURA_PREFIX -u KAPTURA_PREFIX_TEMPLATE -u WINEPREFIX -u DISPLAY \
    -u KAPTURA_WIN64 bash "$root/scripts/emulated-i386.sh" bash "$0" --inside
fi

started=$SECONDS
source "$root/scripts/wine-session.sh"
if [ "$KAPTURA_ROAD" != win32 ]; then
  echo "emulated-road: the 32-bit Wine does not start under the emulator: $KAPTURA_ROAD_WHY" >&2
  exit 1
fi
cd "$root/build/win"
status=0
ctest --output-on-failure -L '^(windows_program|main_road)$' --no-tests=error -j"${KAPTURA_EMULATED_JOBS:-3}" \
  --timeout 900 || status=$?
echo "The emulated road took $((SECONDS - started)) s (session and first prefix included)."
exit "$status"
