#!/usr/bin/env bash
# Runs the long-input fuzzing targets (inputs up to 32 MiB) of the native
# build for a while each, at most three at once, over the seeds the native
# tests leave and the inputs kept in fuzz/seeds; prints executions, crashes
# and the inputs that took a second or more (kept as slow-unit-* beside the
# crashes: a reader must answer any input of up to 32 MiB within a second,
# so each is a lead, once timed again on an idle machine, for fuzz/seeds).
#   scripts/fuzz-long.sh [seconds per target] [target ...]
# Targets default to every fuzz_long_* program and clipboard_dib_long_fuzz.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/native"
seconds=${1:-600}
shift || true
cd "$build/bin" || exit 1
if [ $# -eq 0 ]; then set -- $(ls fuzz_long_* clipboard_dib_long_fuzz 2>/dev/null); fi
out="$build/fuzz-long"
mkdir -p "$out"
# The seeds: the native tests' files; the clipboard reader takes the BMP
# files without their 14-byte file header.
FUZZ_SEED_DIR="$build/fuzz-seeds" TEST_SCRATCH="$build/scratch" ./native_tests >/dev/null 2>&1
mkdir -p "$build/fuzz-seeds/clipboard"
for seed in "$build"/fuzz-seeds/bmp/*; do tail -c +15 "$seed" > "$build/fuzz-seeds/clipboard/$(basename "$seed")"; done

run() {
    local target=$1 format=${1#fuzz_long_}
    local kept="$root/fuzz/seeds/long_$format"
    [ "$target" = clipboard_dib_long_fuzz ] && format=clipboard && kept="$root/fuzz/seeds/long_clipboard_dib"
    mkdir -p "$out/corpus-$format" "$out/crashes-$format"
    ./"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=10 \
        -report_slow_units=1 -print_final_stats=1 -artifact_prefix="$out/crashes-$format/" \
        "$out/corpus-$format" "$build/fuzz-seeds/$format" $([ -d "$kept" ] && echo "$kept") > "$out/$target.log" 2>&1
    local runs crashes slow
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$out/$target.log" | awk '{print $2}')
    crashes=$(ls "$out/crashes-$format" | grep -cv '^slow-unit-')
    slow=$(ls "$out/crashes-$format" | grep -c '^slow-unit-')
    echo "$target: ${runs:-?} executions in ${seconds} s, $crashes crashes, $slow slow inputs kept" \
         "(slowest $(grep -oE 'slowest_unit_time_sec: +[0-9]+' "$out/$target.log" | awk '{print $2}') s)"
}

running=0
for target in "$@"; do
    run "$target" &
    running=$((running + 1))
    if [ $running -ge 3 ]; then wait -n; running=$((running - 1)); fi
done
wait
