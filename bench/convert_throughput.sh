#!/usr/bin/env bash
# Batch conversion speed against the limit of the same work in the same run:
# the real Morfix99.exe under Wine converts a folder to PNG (timed around the
# Convert command, whose run happens inside the send), taking turns twice
# with the same per-file conversion in a bare loop under the same Wine
# (convert_loop_bench.exe); the better time of each counts. Two folders: 3000 small 4 x 4 BMP files and 100
# photo-like 1280 x 1024 24-bit ones. Prints files per second of both and the
# ratio for each.
#   bench/convert_throughput.sh [windows build folder] [small files] [photos]
# The build folder is the one this machine runs (scripts/windows-road.sh)
# when none is given.
# Needs a display or starts one, as the end-to-end cases do.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
export BIN=$(cd "${1:-$KAPTURA_ROAD_BUILD}" && pwd)/bin
export E2E_ROOT=${E2E_ROOT:-$(dirname "$BIN")/bench-morfix}
small=${2:-3000}
photos=${3:-100}
source "$root/tests/e2e/e2e-lib.sh"
source "$root/tests/e2e/morfix-lib.sh"

# Small files, each with its own pixels: 4 x 4, 24 bits, bottom-up rows.
mkdir -p "$data/small" "$data/photos"
python3 - "$data/small" "$small" <<'PY'
import struct, sys
folder, count = sys.argv[1], int(sys.argv[2])
for n in range(count):
    pixels = bytes((n * 7 + i * 13) & 255 for i in range(4 * 4 * 3))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, 4, 4, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(f'{folder}/s{n:05d}.bmp', 'wb') as f:
        f.write(header + info + pixels)
PY

# Four smooth pictures with grain, each rolled into new places: photo-like
# content that no two files share.
for seed in 1 2 3 4; do
  $IM -size 1280x1024 -seed $seed plasma:fractal -blur 0x2 -attenuate 0.3 +noise Gaussian \
    -type truecolor "BMP3:$data/base$seed.bmp"
done
for n in $(seq 1 "$photos"); do
  $IM "$data/base$(( (n - 1) % 4 + 1 )).bmp" -roll +$((n * 37))+$((n * 23)) -type truecolor \
    "BMP3:$data/photos/$(printf 'photo%03d' "$n").bmp"
done
rm "$data"/base*.bmp
sync

# Seconds the program takes for every file of folder $1 into $1-out.
program_seconds() {
  rm -rf "$data/$1-out"
  mkdir -p "$data/$1-out"
  start_morfix
  choose_folders "$1" "$1-out"
  kd combo-select "$dlg" 1155 7 >/dev/null
  kd list-select "$(item 1152)" all || fail "cannot select the input files"
  local seconds converted
  seconds=$(kd timed-command "$dlg" 1 | tr -d '\r')
  converted=$(rows | grep -c $'\tSuccessful$' || true)
  [ "$converted" = "$2" ] || fail "the converter wrote $converted of $2 files"
  exit_morfix
  echo "$seconds"
}

# Seconds of the bare loop for folder $1 into $1-bare.
bare_seconds() {
  rm -rf "$data/$1-bare"
  mkdir -p "$data/$1-bare"
  local line
  line=$(kwine "$BIN/convert_loop_bench.exe" "M:\\$1" "M:\\$1-bare" 8 png 2>/dev/null | tr -d '\r')
  [ "$(cut -d' ' -f2 <<<"$line")" = "$2" ] || fail "the bare loop did not convert $2 files: $line"
  cut -d' ' -f4 <<<"$line"
}

report() {
  awk -v what="$1" -v n="$2" -v ours="$3" -v bare="$4" 'BEGIN {
    printf "%s: Morfix99 %d files in %.2f s, %.1f files/s; bare loop %.2f s, %.1f files/s; ratio %.2f\n",
      what, n, ours, n / ours, bare, n / bare, (n / ours) / (n / bare)
  }'
}

# The bare loop and the program take turns, twice, and the better time of
# each counts: a busy moment of the machine must not decide the ratio.
better() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? a : b) }'; }
small_bare=$(bare_seconds small "$small")
small_ours=$(program_seconds small "$small")
small_bare=$(better "$small_bare" "$(bare_seconds small "$small")")
small_ours=$(better "$small_ours" "$(program_seconds small "$small")")
photo_bare=$(bare_seconds photos "$photos")
photo_ours=$(program_seconds photos "$photos")
photo_bare=$(better "$photo_bare" "$(bare_seconds photos "$photos")")
photo_ours=$(better "$photo_ours" "$(program_seconds photos "$photos")")

# Both wrote what they read.
for name in photo001 photo$(printf '%03d' "$photos"); do
  for out in photos-out photos-bare; do
    [ "$(differing_pixels "$data/photos/$name.bmp" "$data/$out/$name.png")" = 0 ] || fail "$out/$name.png differs"
  done
done
report "4 x 4 BMP to PNG" "$small" "$small_ours" "$small_bare"
report "1280 x 1024 photo BMP to PNG" "$photos" "$photo_ours" "$photo_bare"
