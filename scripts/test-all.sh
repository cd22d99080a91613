#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# native tests under the sanitizers, fuzzing smoke runs, and the Windows test
# programs and end-to-end cases under Wine on virtual displays with fresh
# prefixes, on the Windows build this machine runs (scripts/windows-road.sh;
# KAPTURA_WIN64=1 takes the 64-bit one anywhere). At the end it says where
# the time went, phase by phase.
#
# KAPTURA_BACKGROUND_LOAD=N runs N busy processes beside the whole run, to
# show that the suite holds on a loaded machine; they end with the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

load_pids=()
end_background_load() {
  [ ${#load_pids[@]} -eq 0 ] || kill "${load_pids[@]}" 2>/dev/null || true
  load_pids=()
}
trap end_background_load EXIT
for ((i = 0; i < ${KAPTURA_BACKGROUND_LOAD:-0}; i++)); do
  (exec yes >/dev/null) &
  load_pids+=($!)
done

phase_times=""
phase_start=$SECONDS
phase_done() {
  phase_times="$phase_times${phase_times:+, }$1 $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}

bash "$root/scripts/install-deps.sh"
phase_done "packages"
bash "$root/scripts/build.sh"
phase_done "builds"
# The session sets up the services the Windows programs use (the print
# queue) before it makes any prefix: Wine takes in what it finds then.
source "$root/scripts/wine-session.sh"
trap 'wine_session_end; end_background_load' EXIT
phase_done "session and first prefix"
cd "$root/build"
status=0
ctest --output-on-failure -j"$(nproc)" --timeout 900 || status=$?
phase_done "tests"
case "$KAPTURA_ROAD" in
  win64) echo "Windows tests ran on the 64-bit test build (build/win64) under wine64: $KAPTURA_ROAD_WHY." ;;
  *) echo "Windows tests ran on the 32-bit product (build/win) under wine: $KAPTURA_ROAD_WHY." ;;
esac
echo "Time: $phase_times; ${KAPTURA_BACKGROUND_LOAD:-0} busy processes beside the run."
exit "$status"
