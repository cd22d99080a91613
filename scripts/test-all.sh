#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# native tests under the sanitizers, fuzzing smoke runs, and the Windows test
# programs and end-to-end cases under Wine on virtual displays with fresh
# prefixes, on the Windows build this machine runs (scripts/windows-road.sh;
# KAPTURA_WIN64=1 takes the 64-bit one anywhere). Where that is the 64-bit
# one only because the kernel refuses i386 programs, the 32-bit product's
# Windows test programs and main road run as well, under an emulator,
# beside the rest (scripts/emulated-road.sh). At the end it says where the
# time went, phase by phase.
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
# The builds run while the session sets up what needs nothing built: its
# display, the print queue (before any prefix: Wine takes in the printers it
# finds when it makes one) and the run's first prefix. Their output is shown
# once they end.
build_log=$(mktemp)
bash "$root/scripts/build.sh" >"$build_log" 2>&1 &
build_pid=$!
end_builds() { kill "$build_pid" 2>/dev/null || true; }
trap 'end_builds; end_background_load' EXIT
source "$root/scripts/wine-session.sh"
trap 'end_builds; wine_session_end; end_background_load' EXIT
session_seconds=$((SECONDS - phase_start))
build_status=0
wait "$build_pid" || build_status=$?
cat "$build_log"
rm -f "$build_log"
[ "$build_status" = 0 ] || exit "$build_status"
phase_done "builds"
phase_times="$phase_times (the session and first prefix made beside them in $session_seconds s)"

# Where the kernel refuses i386 programs, the 32-bit product's test
# programs and main road run under the emulator beside the tests below
# (scripts/emulated-road.sh): once the print queue is there (their prefix
# takes the printers in), in a process group of their own, with a log shown
# at the end. A machine that cannot set it up says why and goes on, unless
# CI is set.
status=0
emulated_pid="" emulated_note="" emulated_seconds=""
emulated_log="$root/build/emulated-road.log"
start_emulated_road() {
  local why
  if ! why=$(bash "$root/scripts/emulated-i386.sh" "$KAPTURA_WINE32_LOADER" --version 2>&1); then
    emulated_note="the 32-bit product could not run under the i386 emulator: $why"
    [ -z "${CI:-}" ] || status=1
    return 0
  fi
  setsid bash "$root/scripts/emulated-road.sh" >"$emulated_log" 2>&1 &
  emulated_pid=$!
}
stop_emulated_road() { [ -z "$emulated_pid" ] || kill -- -"$emulated_pid" 2>/dev/null || true; }
end_emulated_road() {
  local road_status=0
  wait "$emulated_pid" || road_status=$?
  emulated_pid=""
  echo "--- The 32-bit product under the i386 emulator ($emulated_log):"
  cat "$emulated_log"
  emulated_seconds=$(sed -n 's/^The emulated road took \([0-9]*\) s.*/\1/p' "$emulated_log")
  emulated_note="the 32-bit product's Windows test programs and main road ran under the i386 emulator beside them"
  if [ "$road_status" = 0 ]; then
    emulated_note="$emulated_note, and passed"
  else
    emulated_note="$emulated_note, and FAILED"
    status=1
  fi
}
trap 'stop_emulated_road; wine_session_end; end_background_load' EXIT
[ -z "$KAPTURA_ROAD_EMULATED_32BIT" ] || start_emulated_road

cd "$root/build"
ctest --output-on-failure -j"$(nproc)" --timeout 900 || status=$?
[ -z "$emulated_pid" ] || end_emulated_road
phase_done "tests"
[ -z "$emulated_seconds" ] || phase_times="$phase_times (the emulated road $emulated_seconds s of them)"
case "$KAPTURA_ROAD" in
  win64) echo "Windows tests ran on the 64-bit test build (build/win64) under wine64: $KAPTURA_ROAD_WHY." ;;
  *) echo "Windows tests ran on the 32-bit product (build/win) under wine: $KAPTURA_ROAD_WHY." ;;
esac
[ -z "$emulated_note" ] || echo "Also: $emulated_note."
echo "Time: $phase_times; ${KAPTURA_BACKGROUND_LOAD:-0} busy processes beside the run."
exit "$status"
