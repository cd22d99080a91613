#!/usr/bin/env bash
# Windows benchmark run under Wine: the time from a capture hot key (Ctrl+1,
# the whole 1280 x 1024 screen, flash and sound off, the image window the
# only destination) to the new image window, against the limit of the same
# work in the same run: a bare BitBlt of the screen into a memory bitmap and
# GetDIBits to 24 bits, one after each capture. Prints both medians and the
# ratio; with FLASH=1 it also times the captures with the Center-In flash.
#   bench/capture_latency.sh [windows build folder] [runs]
# The build folder is the one this machine runs (scripts/windows-road.sh)
# when none is given. Needs a display (DISPLAY, 1280 x 1024) or starts one,
# as the end-to-end cases do.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
export BIN=$(cd "${1:-$KAPTURA_ROAD_BUILD}" && pwd)/bin
export E2E_ROOT=${E2E_ROOT:-$(dirname "$BIN")/bench-e2e}
runs=${2:-15}   # exit answers the save prompts of up to 20 windows
source "$root/tests/e2e/e2e-lib.sh"

measure() {
  seed_ini "SendtoPage=0,1,0,0,0,0,0,5,5" "CapturePage=1,0,0,0,0" "NotifyPage=0,$1" \
    "ScreenPage=0,0,1280,1024,0,0"
  start_kaptura
  echo "flash $1: $(kwine "$BIN/kprobe.exe" hotkey-latency "$frame" "$runs" ${2:-} 2>/dev/null | tr -d '\r')"
  exit_kaptura
}
measure 0 bare
[ "${FLASH:-0}" = 1 ] && measure 1
exit 0
