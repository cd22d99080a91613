#!/bin/bash
# End-to-end cases of the batch converter's long runs (see morfix_e2e.sh for
# the fixture drive M: and the dialog steps).
#
# Usage: morfix_runs_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/morfix-lib.sh"

# A list view's last row is within the rows it shows.
last_row_in_view() {
  local top page count
  read -r top page count < <(kd list-view "$(item "$1")" | tr -d '\r')
  [ "$count" -gt 0 ] && [ $((top + page)) -ge "$count" ] || fail "list $1 shows rows $top to $((top + page)) of $count"
}

case "$scenario" in
many_small_files)
  # 600 small BMP files and two that share a base name; the output folder
  # already holds one of the names in capitals.
  mkdir -p "$data/in" "$data/out"
  python3 - "$data/in" 600 <<'PY'
import struct, sys
folder, count = sys.argv[1], int(sys.argv[2])
for n in range(count):
    pixels = bytes((n * 7 + i * 13) & 255 for i in range(4 * 4 * 3))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, 4, 4, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(f'{folder}/s{n:05d}.bmp', 'wb') as f:
        f.write(header + info + pixels)
PY
  photo "BMP3:$data/in/twin.bmp" 20x10 1 -type truecolor
  photo "$data/in/twin.gif" 20x10 2 -colors 16
  cp "$data/in/s00007.bmp" "$data/out/S00007.PNG"

  start_morfix
  kd combo-select "$dlg" 1154 0 >/dev/null
  choose_folders in out
  convert_all 7
  listing=$(rows)
  [ "$(grep -c . <<<"$listing")" = 602 ] || fail "$(grep -c . <<<"$listing") rows, not 602"
  [ "$(grep -c $'\tSuccessful$' <<<"$listing")" = 602 ] || fail "not every file converted"
  # One row per file, in the input list's order.
  expected=$(ls "$data/in" | LC_ALL=C sort -f | sed 's/^/M:\\in\\/')
  [ "$(cut -f1 <<<"$listing")" = "$expected" ] || fail "the rows are not the input files in order"
  # Every name once: the twins share twin.png, S00007.PNG was there already.
  names=$(kd list-rows "$(item 1160)" | tr -d '\r')
  [ "$(grep -c . <<<"$names")" = 601 ] || fail "$(grep -c . <<<"$names") output names, not 601"
  [ -z "$(tr 'A-Z' 'a-z' <<<"$names" | sort | uniq -d)" ] || fail "names listed twice: $(sort <<<"$names" | uniq -d)"
  count=$(kd dialog-text "$dlg" | grep "Files in this format")
  [ "$count" = "Files in this format: 601" ] || fail "output count reads '$count'"
  last_row_in_view 1003
  last_row_in_view 1160
  [ "$(differing_pixels "$data/in/s00599.bmp" "$data/out/s00599.png")" = 0 ] || fail "s00599.png differs"
  exit_morfix
  ;;
*)
  fail "unknown case $scenario"
  ;;
esac
