#!/usr/bin/env bash
# Preview speed of the capture program's Open dialog under Wine: median time
# from selecting a 1920 x 1080 JPEG to its preview painted (limit 150 ms).
#   bench/file_preview.sh [windows build folder] [runs]
# The photograph of scripts/bench-pictures.sh is used when it is there,
# else a made-up picture of the same size.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
bin=$(cd "${1:-$KAPTURA_ROAD_BUILD}" && pwd)/bin
runs=${2:-11}
source "$root/scripts/wine-session.sh"
folder="$KAPTURA_RUN_DIR/preview-bench"
mkdir -p "$folder"
photo="$root/build/bench/pictures/photo.ppm"
if [ -f "$photo" ]; then
  /usr/bin/convert-im6.q16 "$photo" -quality 90 "$folder/big.jpg"
else
  /usr/bin/convert-im6.q16 -size 1920x1080 plasma:fractal -quality 90 "$folder/big.jpg"
fi
/usr/bin/convert-im6.q16 -size 16x16 xc:gray BMP3:"$folder/small.bmp"
cd "$bin"
kwine file_preview_bench.exe "Z:${folder//\//\\}" big.jpg small.bmp "$runs" 2>/dev/null | tr -d '\r'
