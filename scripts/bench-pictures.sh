#!/usr/bin/env bash
# Makes the real pictures the image benchmarks measure, into
# build/bench/pictures: photo.ppm, a 1920 x 1080 crop of a photograph that
# a Debian wallpaper package carries, and screenshot.ppm, a 1920 x 1080
# screenshot of an X display with terminal windows full of text; and
# 4032 x 3024 ones (photo4032.ppm: the photograph scaled; screenshot4032.ppm:
# the screenshot tiled). Installs
# the packages it needs (for benchmarking only; nothing else uses them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/bench/pictures"
mkdir -p "$out"
photo=/usr/share/backgrounds/picosdeeuropa_by_Aitzol_Berasategi.jpg
need=()
[ -f "$photo" ] || need+=(lomiri-wallpapers-16.04)
command -v xterm >/dev/null || need+=(xterm)
if [ ${#need[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}" >/dev/null
fi

convert-im6.q16 "$photo" -resize 1920x1080^ -gravity center -extent 1920x1080 -depth 8 "$out/photo.ppm"
convert-im6.q16 "$photo" -resize 4032x3024^ -gravity center -extent 4032x3024 -depth 8 "$out/photo4032.ppm"

# The screenshot: a desktop colour, terminals of several colours and fonts
# listing files and showing source text, on a display of its own.
source "$root/scripts/virtual-display.sh"
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
virtual_display_start 1920x1080x24
xsetroot -solid '#3a6ea5' 2>/dev/null || true
term() {  # geometry, colours, font size, command
  xterm -geometry "$1" -bg "$2" -fg "$3" -fa 'DejaVu Sans Mono' -fs "$4" -e sh -c "$5; sleep 60" &
}
term 100x40+10+10 white black 10 "ls -l /usr/bin | head -60"
term 90x30+760+40 black '#d0d0d0' 11 "cat '$root/formats/JpegDecode.cpp'"
term 80x24+300+560 '#ffffe0' '#202080' 12 "dpkg -l | tail -40"
term 70x20+1250+620 '#202020' '#60ff60' 9 "ps aux | head -40"
sleep 4
import-im6.q16 -window root -depth 8 "$out/screenshot.ppm"
# The large screenshot: the screen tiled, text at its own size.
convert-im6.q16 -size 4032x3024 "tile:$out/screenshot.ppm" -depth 8 "$out/screenshot4032.ppm"
ls -l "$out"
