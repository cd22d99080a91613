#!/usr/bin/env bash
# Batch conversion speed: 100 photo-like 1280 x 1024 24-bit BMP files to PNG
# by the real Morfix99.exe under Wine (the run inside the program, timed
# around the Convert command), and the same files by ImageMagick's mogrify
# natively, in the same run. Prints files per second of each.
#   bench/convert_throughput.sh [windows build folder] [files]
# The build folder is the one this machine runs (scripts/windows-road.sh)
# when none is given.
# Needs a display or starts one, as the end-to-end cases do.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
export BIN=$(cd "${1:-$KAPTURA_ROAD_BUILD}" && pwd)/bin
export E2E_ROOT=${E2E_ROOT:-$(dirname "$BIN")/bench-morfix}
files=${2:-100}
source "$root/tests/e2e/e2e-lib.sh"
source "$root/tests/e2e/morfix-lib.sh"

# Four smooth pictures with grain, each rolled into new places: photo-like
# content that no two files share.
mkdir -p "$data/in" "$data/out" "$data/magick"
for seed in 1 2 3 4; do
  $IM -size 1280x1024 -seed $seed plasma:fractal -blur 0x2 -attenuate 0.3 +noise Gaussian \
    -type truecolor "BMP3:$data/base$seed.bmp"
done
for n in $(seq 1 "$files"); do
  $IM "$data/base$(( (n - 1) % 4 + 1 )).bmp" -roll +$((n * 37))+$((n * 23)) -type truecolor \
    "BMP3:$data/in/$(printf 'photo%03d' "$n").bmp"
done
rm "$data"/base*.bmp
sync

start_morfix
choose_folders in out
kd combo-select "$dlg" 1155 7 >/dev/null
kd list-select "$(item 1152)" all || fail "cannot select the input files"
start=$(date +%s.%N)
kd command "$dlg" 1
end=$(date +%s.%N)
converted=$(rows | grep -c $'\tSuccessful$' || true)
[ "$converted" = "$files" ] || fail "the converter wrote $converted of $files files"
exit_morfix

magick_start=$(date +%s.%N)
/usr/bin/mogrify-im6.q16 -path "$data/magick" -format png "$data"/in/*.bmp
magick_end=$(date +%s.%N)

# Both must have written what they read.
for name in photo001 photo$(printf '%03d' "$files"); do
  [ "$(differing_pixels "$data/in/$name.bmp" "$data/out/$name.png")" = 0 ] || fail "$name.png differs"
done
awk -v n="$files" -v a="$start" -v b="$end" -v c="$magick_start" -v d="$magick_end" \
  -v ours="$(du -sb "$data/out" | cut -f1)" -v theirs="$(du -sb "$data/magick" | cut -f1)" 'BEGIN {
  printf "Morfix99 under Wine: %d files in %.2f s, %.2f files/s, %.1f MB written\n", n, b - a, n / (b - a), ours / 1e6
  printf "mogrify -format png (native): %d files in %.2f s, %.2f files/s, %.1f MB written\n", n, d - c, n / (d - c), theirs / 1e6
}'
