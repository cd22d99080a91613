#!/usr/bin/env bash
# Print job benchmark under Wine with the PDF printer: median time of a
# 1920 x 1080 24-bit job at the default options and the library's peak of
# global memory.   bench/print_job.sh [windows build folder] [runs]
# The build folder is the one this machine runs (scripts/windows-road.sh)
# when none is given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
bin=$(cd "${1:-$KAPTURA_ROAD_BUILD}" && pwd)/bin
runs=${2:-7}
source "$root/scripts/wine-session.sh"   # the print queue, then a fresh prefix
ini="$KAPTURA_RUN_DIR/bench.ini"
printf '[Kaptura 99]\r\n' > "$ini"
cd "$bin"
# The session's display runs no window manager, and Wine waits up to 2 s for
# one to acknowledge the hiding of any window it hands to a manager: the
# meter's close would cost that wait, which a desktop does not have. The
# bench program alone keeps its windows to itself.
kwine reg add 'HKCU\Software\Wine\AppDefaults\print_job_bench.exe\X11 Driver' /v Managed /d N /f >/dev/null
kwine print_job_bench.exe "Kaptura 99" "Z:${ini//\//\\}" "$runs" 2>/dev/null | tr -d '\r'
