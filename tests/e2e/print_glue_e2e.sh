#!/usr/bin/env bash
# The capture program printing through the print library, as a user does:
# images opened from drive P: (a folder of the case), the print commands,
# the library's sheets answered through their controls, the PDF printer's
# output read back. print_glue_e2e.sh <case>.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

[ "${PRINT_QUEUE_OK:-0}" = 1 ] || fail "no PDF print queue"
FilePrint=0xE107
FilePrintAll=32776
FilePrintAllOnOnePage=32777
FileClose=0xE102
pics="$case_dir/pics"
mkdir -p "$pics"
ln -sfn "$pics" "$WINEPREFIX/dosdevices/p:"
since="$case_dir/since"
# A name no other job on this machine has, short enough that the job's
# name "Kaptura 99 - P:\<name>.bmp" stays whole.
token="g$(printf %06d $(( ($(date +%s%N) / 1000 + $$) % 1000000 )))"

# A plain picture of one colour, opened in an image window.
open_picture() {   # name size colour
  /usr/bin/convert-im6.q16 -size "$2" "xc:$3" -type TrueColor "BMP3:$pics/$1.bmp"
  local before
  before=$(kd mdi-children "$frame" | grep -c . || true)
  run_file_dialog 57601 "P:\\$1.bmp"
  wait_children $((before + 1))
}

# The PDF of a job whose file name holds the text, made since the marker.
job_pdf() { newest_pdf "$since" "$1" || fail "no PDF for $1"; }
pages_of() { pdfinfo "$1" | awk '/^Pages:/{print $2}'; }

# The colours of a PDF's first page, as "name count" lines of the pixels
# near red, green and blue.
page_colours() {
  pdftoppm -r 30 -f 1 -l 1 "$1" "$case_dir/colours"
  python3 - "$(ls "$case_dir"/colours*.ppm | head -1)" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
parts = data.split(maxsplit=4)
w, h, pixels = int(parts[1]), int(parts[2]), parts[4]
names = {(255, 0, 0): "red", (0, 128, 0): "green", (0, 0, 255): "blue"}
counts = dict.fromkeys(names.values(), 0)
for i in range(0, w * h * 3, 3):
    r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
    for (cr, cg, cb), name in names.items():
        if abs(r - cr) < 40 and abs(g - cg) < 40 and abs(b - cb) < 40:
            counts[name] += 1
for name, count in counts.items():
    print(name, count)
PY
  rm -f "$case_dir"/colours*.ppm
}
has_colour() { [ "$(page_colours "$1" | awk -v c="$2" '$1 == c {print $2}')" -gt 20 ]; }

# The sheet's current page, and a control of it.
sheet_page() { kd send "$1" 0x476 0 0; }   # PSM_GETCURRENTPAGEHWND
set_field() { kd set-text "$(sheet_page "$1")" "$2" "$3" >/dev/null || fail "no control $2 on the sheet"; }
field() { kd text "$(kd item "$(sheet_page "$1")" "$2")"; }

# A click on a button of the sheet (BM_CLICK), OK by default.
press_button() { kd post "$(kd item "$1" "${2:-1}")" 0xF5 0 0 >/dev/null; }
press_ok() { press_button "$1" 1; }

wait_sheet() { kd wait-dialog - "Kaptura 99 Print" 30 || fail "no print sheet"; }

# Where a user clicks to bring the image window forward.
image_view_centre() {
  local view left top right bottom
  view=$(kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1; exit }')
  [ -n "$view" ] || fail "no image view"
  read -r left top right bottom <<< "$(window_rect "$view")"
  echo $(((left + right) / 2)) $(((top + bottom) / 2))
}

# What a user does to close the image while the library runs: a click on
# the image window, then Ctrl+F4. Refused while the print windows hold the
# program: the image stays.
try_to_close_the_image() {   # x y of the image view
  xdotool mousemove "$1" "$2" click 1
  sleep 0.3
  xdotool key ctrl+F4
  sleep 0.5
}

program_lives() {
  kill -0 "${pids[0]}" 2>/dev/null || fail "the program ended"
  kd title "$frame" >/dev/null || fail "the main window is gone"
}

case_close_during_sheet() {
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,0,0"
  start_kaptura
  open_picture "${token}s" 64x48 red
  touch "$since"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  [ "$(kd enabled "$frame")" = 0 ] || fail "the program's window stays enabled under the print sheet"
  try_to_close_the_image $(image_view_centre)
  [ "$(kd mdi-children "$frame" | grep -c .)" = 1 ] || fail "the image closed under its print sheet"
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  has_colour "$(job_pdf "${token}s")" red || fail "the image was not printed"
  program_lives
  [ "$(kd enabled "$frame")" = 1 ] || fail "the program's window stays disabled after printing"
  exit_kaptura
}

case_close_during_meter() {
  # Eight copies of a picture of 9 pages keep the meter up for a while.
  seed_ini "PrintOnePage=0,8,3,0,4,1,1,0,0,0,0,0,0"
  start_kaptura
  open_picture "${token}m" 2400x1800 blue
  local centre
  centre=$(image_view_centre)
  touch "$since"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  press_ok "$sheet"
  meter=$(kd wait-dialog - "Kaptura 99" 30) || fail "no meter"
  texts_whole "$meter" "the print meter"
  try_to_close_the_image $centre
  [ "$(kd enabled "$frame")" = 0 ] || fail "the program's window stays enabled under the meter"
  # A close command that reaches the program through the meter's message
  # pump is refused too: the library is reading the image.
  kd post-command "$frame" $FileClose >/dev/null
  kd wait-visible "$meter" 1 0.1 >/dev/null || fail "the meter was gone before the close attempts ended"
  kd wait-gone "$meter" 180 >/dev/null || fail "the meter stayed"
  program_lives
  [ "$(kd mdi-children "$frame" | grep -c .)" = 1 ] || fail "the image closed while it printed"
  pdf=$(job_pdf "${token}m")
  [ "$(pages_of "$pdf")" = 72 ] || fail "72 pages expected, got $(pages_of "$pdf")"
  [ "$(kd enabled "$frame")" = 1 ] || fail "the program's window stays disabled after printing"
  exit_kaptura
}

# The window in front, as a handle.
foreground() { kwine "$BIN/koptprobe.exe" foreground 2>/dev/null | tr -d '\r' | cut -d' ' -f1; }

case_cancel_meter_keeps_activation() {
  # Cancel on the meter hands the activation back to the program's window,
  # so that its caption stays lit and keys reach it.
  seed_ini "PrintOnePage=0,8,3,0,4,1,1,0,0,0,0,0,0"
  start_kaptura
  open_picture "${token}c" 2400x1800 green
  touch "$since"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  press_ok "$sheet"
  meter=$(kd wait-dialog - "Kaptura 99" 30) || fail "no meter"
  kd wait-visible "$meter" 20 >/dev/null || fail "the meter did not show"
  press_button "$meter" 2
  kd wait-gone "$meter" 60 >/dev/null || fail "the meter stayed after Cancel"
  program_lives
  local front=""
  for _ in $(seq 50); do
    front=$(foreground)
    [ -n "$front" ] && [ $((front)) = $((frame)) ] && break
    sleep 0.2
  done
  [ "$(kd enabled "$frame")" = 1 ] || fail "the program's window stays disabled after Cancel"
  [ $((front)) = $((frame)) ] || fail "after Cancel the window in front is $front, not the program's $frame"
  exit_kaptura
}

case_settings_change_during_sheet() {
  # The system's settings change while the sheet is open: the options it
  # stores land in the program's section, and the next call uses them.
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,0,0"
  start_kaptura
  open_picture "${token}w" 40x30 green
  touch "$since"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  local cut
  cut=$(kd cut-off "$(sheet_page "$sheet")")
  [ -z "$cut" ] || fail "the print sheet's page cuts off: $cut"
  cut=$(kd text-fit "$(sheet_page "$sheet")")
  [ -z "$cut" ] || fail "the print sheet's page cuts texts: $cut"
  set_field "$sheet" 1306 5
  kd send "$frame" 0x1A 0 0 >/dev/null   # WM_WININICHANGE
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  pdf=$(job_pdf "${token}w")
  pdfinfo "$pdf" | grep -q "^Title: *Kaptura 99 - P:.${token}w.bmp" || fail "job title: $(pdfinfo "$pdf" | grep Title)"
  # Every print key is in the program's section, none above it.
  awk '/^\[/ { section = $0 } /^(PrintOnePage|HeaderLeft|FooterRight)=/ { print section ":" $0 }' "$ini" | tr -d '\r' \
    > "$case_dir/keys"
  grep -qx '\[Kaptura 99\]:PrintOnePage=0,1,5,0,4,1,1,0,0,0,0,0,0' "$case_dir/keys" || fail "keys: $(cat "$case_dir/keys")"
  [ "$(grep -vc '^\[Kaptura 99\]:' "$case_dir/keys")" = 0 ] || fail "keys outside the section: $(cat "$case_dir/keys")"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  [ "$(field "$sheet" 1306)" = 5 ] || fail "the next call shows scale $(field "$sheet" 1306)"
  press_button "$sheet" 2   # Cancel
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  exit_kaptura
}

case_copies() {
  # Three copies asked in each sheet give three printed pages in each job.
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,1,0" "PrintAllPage=1,3,0,4,1,2,0,0" "HeaderCenter=$token"
  start_kaptura
  open_picture "${token}a" 40x30 red
  open_picture "${token}b" 40x30 blue
  touch "$since"
  kd post-command "$frame" $FilePrint >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  set_field "$sheet" 1305 3
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  pdf=$(job_pdf "${token}b")
  [ "$(pages_of "$pdf")" = 3 ] || fail "single image: 3 copies asked, $(pages_of "$pdf") pages printed"
  touch "$since"
  kd post-command "$frame" $FilePrintAllOnOnePage >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  set_field "$sheet" 1333 3
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  pdf=$(all_images_pdf)
  [ "$(pages_of "$pdf")" = 3 ] || fail "all on one page: 3 copies asked, $(pages_of "$pdf") pages printed"
  exit_kaptura
}

# The all-images job of this case: its header carries the token.
all_images_pdf() {
  local file
  for _ in $(seq 150); do
    for file in $(find "$(print_queue_outbox)" -newer "$since" -name "*All_Images*.pdf" 2>/dev/null); do
      pdftotext "$file" - 2>/dev/null | grep -q "$token" && { echo "$file"; return 0; }
    done
    sleep 0.2
  done
  fail "no all-images PDF"
}

case_print_all() {
  # Two image windows, one of them merging a second image: one by one each
  # window prints its first image in a job of its own; on one page both.
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,1,0" "PrintAllPage=1,3,0,4,1,2,0,0" "HeaderCenter=$token"
  start_kaptura
  open_picture "${token}r" 40x30 red
  open_picture "${token}u" 40x30 blue
  kd command "$frame" 0xE134 >/dev/null        # Tile Vertically
  sleep 0.5
  local views source target
  views=$(kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1 }')
  source=$(echo "$views" | sed -n 1p)
  target=$(echo "$views" | sed -n 2p)
  read -r sl st _ _ <<< "$(window_rect "$source")"
  read -r tl tt tr tb <<< "$(window_rect "$target")"
  probe drag $((sl + 10)) $((st + 10)) $(((tl + tr) / 2)) $(((tt + tb) / 2)) || fail "the drag failed"
  for _ in $(seq 20); do
    kd mdi-children "$frame" | grep -q "^Merging - 2$" && break
    sleep 0.25
  done
  kd mdi-children "$frame" | grep -q "^Merging - 2$" || fail "no merging window: $(kd mdi-children "$frame")"
  local merged_first other
  # The merging window's first image is the one it showed before the drop.
  if [ "$(kd mdi-children "$frame" | grep -c "${token}r")" = 1 ]; then merged_first=${token}u other=${token}r
  else merged_first=${token}r other=${token}u; fi
  touch "$since"
  kd post-command "$frame" $FilePrintAll >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  pdf=$(job_pdf "$merged_first")
  [ "$(pages_of "$pdf")" = 1 ] || fail "the merging window printed $(pages_of "$pdf") pages"
  page_colours "$pdf" > "$case_dir/merged-colours"
  [ "$(awk '$2 > 20' "$case_dir/merged-colours" | wc -l)" = 1 ] ||
    fail "the merging window printed more than its first image: $(cat "$case_dir/merged-colours")"
  job_pdf "$other" >/dev/null
  touch "$since"
  kd post-command "$frame" $FilePrintAllOnOnePage >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  press_ok "$sheet"
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  pdf=$(all_images_pdf)
  has_colour "$pdf" red && has_colour "$pdf" blue || fail "not both images on the page: $(page_colours "$pdf")"
  exit_kaptura
}

# Screenshots stay for a look after the run.
shots="$E2E_ROOT/print_glue-shots"
mkdir -p "$shots"

# Every one of the first $2 pages of sheet $1 holds its controls and texts
# whole; $3 names the screenshots.
sheet_texts_whole() {
  local sheet=$1 pages=$2 index page cut
  for ((index = 0; index < pages; index++)); do
    kd send "$sheet" 0x465 $index 0 >/dev/null   # PSM_SETCURSEL
    sleep 0.5
    page=$(sheet_page "$sheet")
    cut=$(kd cut-off "$page")
    [ -z "$cut" ] || fail "the page '$(kd title "$page")' of '$(kd title "$sheet")' cuts off: $cut"
    cut=$(kd text-fit "$page")
    [ -z "$cut" ] || fail "the page '$(kd title "$page")' of '$(kd title "$sheet")' cuts texts: $cut"
    import-im6.q16 -window root "$shots/$3-page$index.png"
  done
}

# Ticks check box or radio button $2 of dialog $1, or clears a check box
# when $3 is 0, as a click does.
set_check() {
  local button
  button=$(kd item "$1" "$2")
  [ "$(kd send "$button" 0xF0 0 0)" = "${3:-1}" ] || kd send "$button" 0xF5 0 0 >/dev/null   # BM_GETCHECK, BM_CLICK
}

# The sample the dialog draws in its box $2 is whole in screenshot $1: text
# in the box, and none in the two columns at either end of its inside.
sample_whole() {
  local left top right bottom
  read -r left top right bottom <<< "$(window_rect "$2")"
  convert-im6.q16 "$1" -crop "$((right - left - 6))x$((bottom - top - 6))+$((left + 3))+$((top + 3))" +repage \
    -depth 8 "$case_dir/sample.ppm"
  python3 - "$case_dir/sample.ppm" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
parts = data.split(maxsplit=4)
width, height, pixels = int(parts[1]), int(parts[2]), parts[4]
dark = {i // 3 % width for i in range(0, width * height * 3, 3) if sum(pixels[i:i + 3]) < 200}
edges = {0, 1, width - 2, width - 1}
sys.exit(0 if dark and not dark & edges else 1)
PY
}

case_texts_whole_all_images() {
  # The sheet with two images open (its preview box numbers them), and the
  # date and time formats called from Macros.
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,1,0"
  start_kaptura
  open_picture "${token}x" 40x30 red
  open_picture "${token}y" 40x30 blue
  kd post-command "$frame" $FilePrintAll >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  sheet_texts_whole "$sheet" 5 all-images
  # Macros, the last page, calls the date and time formats.
  kd post "$(kd item "$(sheet_page "$sheet")" 1432)" 0xF5 0 0 >/dev/null
  local formats cut
  formats=$(kd wait-dialog - "Date/Time" 10) || fail "Set Date/Time Format opened no dialog"
  sleep 0.5
  cut=$(kd text-fit "$formats" "MS Sans Serif")
  [ -z "$cut" ] || fail "the Date/Time dialog cuts texts: $cut"
  # The longest date: the week day and the month named, the century.
  set_check "$formats" 1457   # Alphabetic
  set_check "$formats" 1459   # Week
  set_check "$formats" 1455   # Century
  set_check "$formats" 1458 0 # Abbreviation
  sleep 1.5                   # the samples are drawn again each second
  import-im6.q16 -window root "$shots/date-time.png"
  sample_whole "$shots/date-time.png" "$(kd item "$formats" 1442)" ||
    fail "the Date/Time dialog cuts its date sample (see $shots/date-time.png)"
  kd answer "$formats" 2 >/dev/null
  kd wait-gone "$formats" 10 >/dev/null || fail "the Date/Time dialog stayed"
  press_button "$sheet" 2
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  exit_kaptura
}

case_texts_whole_one_page() {
  seed_ini "PrintAllPage=1,3,0,4,1,2,0,0"
  start_kaptura
  open_picture "${token}z" 40x30 green
  kd post-command "$frame" $FilePrintAllOnOnePage >/dev/null
  sheet=$(wait_sheet)
  sleep 1
  sheet_texts_whole "$sheet" 4 one-page   # Print, Header, Footer, Macros
  press_button "$sheet" 2
  kd wait-gone "$sheet" 20 >/dev/null || fail "the sheet stayed"
  exit_kaptura
}

case_texts_whole_print_setup() {
  # The print setup behind the Send To page: the one-image sheet with no
  # image, every page of it whole (Notepad is only in this sheet and in
  # File Print's).
  seed_ini "PrintOnePage=0,1,3,0,4,1,1,0,0,0,0,0,0"
  start_kaptura
  local pid setup sendto
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" 32811 >/dev/null    # Capture Setup
  setup=$(kd wait-dialog "$pid" "Capture Setup" 10) || fail "no Capture Setup sheet"
  sendto=$(sheet_page "$setup")
  [ "$sendto" != 0 ] || fail "no Send To page"
  kd send "$(kd item "$sendto" 1752)" 0xF5 0 0 >/dev/null   # Printer
  kd post "$(kd item "$sendto" 1761)" 0xF5 0 0 >/dev/null   # Set Print (modal: posted)
  sheet=$(wait_sheet)
  sleep 1
  sheet_texts_whole "$sheet" 5 print-setup   # Print, Notepad, Header, Footer, Macros
  press_button "$sheet" 2
  kd wait-gone "$sheet" 20 >/dev/null || fail "the print sheet stayed"
  kd answer "$setup" 2 >/dev/null
  kd wait-gone "$setup" 10 >/dev/null || fail "Capture Setup stayed"
  exit_kaptura
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
