#!/usr/bin/env bash
# Real printing through the print library: kprint calls the exports under
# Wine with the PDF printer as the default printer, and each case reads the
# PDF back (pdftotext for the texts, pdftoppm for the pixels).
#
#   print_e2e.sh <case>
# Needs: BIN (the build's bin folder with kprint.exe and the DLLs), E2E_ROOT.
set -Eeuo pipefail
: "${BIN:?}" "${E2E_ROOT:?}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tests/e2e/step-failed.sh"
scenario=$1

# The session: the print service and its queue (before any prefix is made),
# a display and a prefix of the case's own.
export TZ=UTC
KAPTURA_SCREEN=1024x768x24
mkdir -p "$E2E_ROOT"
case_dir=$(mktemp -d "$E2E_ROOT/print.XXXXXX")
KAPTURA_PREFIX="$case_dir/session-prefix"
source "$root/scripts/wine-session.sh"
[ "$PRINT_QUEUE_OK" = 1 ] || { echo "FAIL: no PDF print queue" >&2; exit 1; }
outbox=$(print_queue_outbox)
private=""
finish() {
  local status=$?
  wine_session_end
  wine_session_remove_server_folders "$case_dir"
  [ -n "$private" ] && print_queue_private_stop "$private"
  [ "$status" = 0 ] && rm -rf "$case_dir"
  exit "$status"
}
trap finish EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A name no other job on this machine has: the PDF is found by it.
# Short enough that the job's name, "Kaptura 99 - C:\<name>", stays whole.
token="p$(printf %06d $(( ($(date +%s%N) / 1000 + $$) % 1000000 )))"
ini="$case_dir/k.ini"
ini_win="Z:${ini//\//\\}"
printf '[Kaptura 99]\r\n' > "$ini"
set_key() { printf '%s=%s\r\n' "$1" "$2" >> "$ini"; }
# What kprint said; its errors go to the case's log. A call that ends badly
# (a crash, or cut short after two minutes) fails the case with its status
# and what it said.
kprint() {
  local status=0 said="$case_dir/kprint.out" errors="$case_dir/kprint.err"
  (cd "$BIN" && timeout 120 "$KAPTURA_WINE" kprint.exe "$@" >"$said" 2>"$errors") || status=$?
  tr -d '\r' <"$said"
  tr -d '\r' <"$errors" >&2
  [ "$status" = 0 ] && return 0
  {
    echo "FAIL: kprint $* ended with status $status$([ "$status" = 124 ] && echo ", cut short")"
    echo "--- what it said:"
    tr -d '\r' <"$said"
  } >&2
  exit "$status"
}

# The PDF of the job whose file name holds the given name; waits for the
# print service to finish it (ghostscript takes its time on a busy machine).
job_pdf() {
  local name=$1 file="" deadline=$((SECONDS + 120))
  while [ $SECONDS -lt $deadline ]; do
    file=$(find "$outbox" -newer "$ini" -name "*$name*" 2>/dev/null | head -1 || true)
    [ -n "$file" ] && [ -s "$file" ] && pdfinfo "$file" >/dev/null 2>&1 && { echo "$file"; return 0; }
    sleep 0.2
  done
  return 1
}
pages_of() { pdfinfo "$1" | awk '/^Pages:/{print $2}'; }
render() { pdftoppm -r 300 -f "$2" -l "$2" "$1" "$case_dir/page"; ls "$case_dir"/page-*"$2".ppm | head -1; }
check_cells() {   # pdf page w h bits scale box [gray|bw]
  local ppm result
  ppm=$(render "$1" "$2")
  result=$(python3 "$here/print_check.py" cells "$ppm" "$2" "$3" "$4" "$5" "$6" "$7" "${8:-}")
  rm -f "$ppm"
  case "$result" in "bad 0 of "[1-9]*) ;; *) fail "page $2 of $1: $result" ;; esac
}

case "$scenario" in
single)
  # Header with the print time in the chosen format, footer with the file's
  # name, time, date and size, the note, and the pixels at scale and box.
  set_key PrintTimeDate "0,1,1,1,1,0,1,2,0,0"
  set_key PrintOnePage "0,1,3,0,4,1,1,0,1,1,1,1,1"   # the note as wide as the page, centred
  out=$(kprint one "Kaptura 99" "$ini_win" 24 32 24 "C:\\$token.bmp" "Note of $token" 896886245)
  echo "$out"
  grep -qx "record unchanged" <<<"$out" || fail "the caller's record changed"
  pdf=$(job_pdf "$token") || fail "no PDF for $token"
  [ "$(pages_of "$pdf")" = 1 ] || fail "one page expected"
  text=$(pdftotext -layout "$pdf" - | tr -s ' ')
  echo "$text"
  grep -Eq "printed by Kaptura 99 at [0-9]{1,2}:[0-9]{2}:[0-9]{2} on [0-9]{1,2}\.[0-9]{1,2}\.20[0-9]{2}" <<<"$text" ||
    fail "header"
  grep -Fq "C:\\$token.bmp, 15:04:05 - 3.6.1998, 32w x 24h" <<<"$text" || fail "footer"
  grep -Fq "Note of $token" <<<"$text" || fail "note"
  check_cells "$pdf" 1 32 24 24 3 4
  ;;
depths)
  # Every depth at other scales and boxes; no header, footer or note.
  for args in "1 5 0" "4 2 8" "8 4 2" "32 3 6"; do
    set -- $args
    printf '[Kaptura 99]\r\nPrintOnePage=0,1,%s,0,%s,1,1,0,0,0,0,0,0\r\n' "$2" "$3" > "$ini"
    kprint one "Kaptura 99" "$ini_win" "$1" 40 28 "C:\\$token-$1.bmp" "" 0 >/dev/null
    pdf=$(job_pdf "$token-$1") || fail "no PDF for $1 bits"
    [ -z "$(pdftotext "$pdf" - | tr -d '[:space:]')" ] || fail "$1 bits: texts printed though switched off"
    check_cells "$pdf" 1 40 28 "$1" "$2" "$3"
  done
  ;;
depth_modes)
  # Grayscale and black and white rework the colour table; 24 bits stay in
  # colour whatever the mode.
  for args in "8 1 gray" "4 2 bw" "1 1 gray" "24 2 bw"; do
    set -- $args
    printf '[Kaptura 99]\r\nPrintOnePage=0,1,3,%s,4,1,1,0,0,0,0,0,0\r\n' "$2" > "$ini"
    kprint one "Kaptura 99" "$ini_win" "$1" 40 28 "C:\\$token-m$1.bmp" "" 0 >/dev/null
    pdf=$(job_pdf "$token-m$1") || fail "no PDF for $1 bits in $3"
    check_cells "$pdf" 1 40 28 "$1" 3 4 "$3"
  done
  ;;
pages)
  # Larger than a page at its scale: tiled, as many pages as needed, no
  # header; portrait turns the page and changes the tiling.
  # The meter, watched while the pages go out.
  out=$(kprint one "Kaptura 99" "$ini_win" 24 1300 900 "C:\\$token-l.bmp" "not printed" 0)
  echo "$out"
  grep -qx "meter1: Printing '$token-l.bmp' on the" <<<"$out" || fail "meter line 1"
  grep -qx "meter2: PDF on CUPS:PDF" <<<"$out" || fail "meter line 2"
  grep -q "^meter3: Page [1-4] of 4$" <<<"$out" || fail "meter line 3"
  grep -qx "meter caption: Kaptura 99" <<<"$out" || fail "meter caption"
  pdf=$(job_pdf "$token-l") || fail "no PDF (landscape)"
  [ "$(pages_of "$pdf")" = 4 ] || fail "landscape: 4 pages expected, got $(pages_of "$pdf")"
  [ -z "$(pdftotext "$pdf" - | tr -d '[:space:]')" ] || fail "texts on a tiled image"
  check_cells "$pdf" 1 1300 900 24 3 4
  check_cells "$pdf" 4 1300 900 24 3 4
  printf '[Kaptura 99]\r\nPrintOnePage=0,1,3,0,4,0\r\n' > "$ini"
  kprint one "Kaptura 99" "$ini_win" 24 1300 900 "C:\\$token-p.bmp" "" 0 >/dev/null
  pdf=$(job_pdf "$token-p") || fail "no PDF (portrait)"
  [ "$(pages_of "$pdf")" = 2 ] || fail "portrait: 2 pages expected, got $(pages_of "$pdf")"
  check_cells "$pdf" 2 1300 900 24 3 4
  ;;
strips_and_copies)
  # A palette image whose bands go out in overlapping strips, every pixel
  # judged (palette pages are stored without loss).
  printf '[Kaptura 99]\r\nPrintOnePage=0,1,3,0,0,1,1,0,0,0,0,0,0\r\n' > "$ini"
  kprint one "Kaptura 99" "$ini_win" 8 600 300 "C:\\$token-s.bmp" "" 0 >/dev/null
  check_cells "$(job_pdf "$token-s")" 1 600 300 8 3 0
  # Three copies of a one-page image, whether or not the driver makes them.
  printf '[Kaptura 99]\r\nPrintOnePage=0,3\r\n' > "$ini"
  kprint one "Kaptura 99" "$ini_win" 8 30 20 "C:\\$token-c.bmp" "" 0 >/dev/null
  pdf=$(job_pdf "$token-c") || fail "no PDF (copies)"
  [ "$(pages_of "$pdf")" = 3 ] || fail "3 copies expected, got $(pages_of "$pdf") pages"
  ppm=$(render "$pdf" 3)   # the third copy holds the whole image
  result=$(python3 "$here/print_check.py" cells "$ppm" 1 30 20 8 3 4)
  case "$result" in "bad 0 of "[1-9]*) ;; *) fail "third copy: $result" ;; esac
  ;;
all)
  # One job per record, the meter counting images; the records stay as given.
  out=$(kprint all "Kaptura 99" "$ini_win" 2 8 30 20 "C:\\$token-")
  echo "$out"
  grep -qx "records unchanged" <<<"$out" || fail "records changed"
  for i in 1 2; do job_pdf "$token-$i" >/dev/null || fail "no PDF for image $i"; done
  check_cells "$(job_pdf "$token-2")" 1 30 20 8 3 4
  ;;
cancel)
  # Cancel on the meter during the first image: its job is dropped and no
  # further image is started.
  out=$(kprint all "Kaptura 99" "$ini_win" 3 24 1300 900 "C:\\$token-" 2)
  echo "$out"
  grep -qx "cancel" <<<"$out" || fail "the meter was not seen"
  grep -q "Image 2 of 3" <<<"$out" && fail "the second image was started"
  # A PDF takes seconds to land: none has come only once the service is
  # through with every job it held.
  print_queue_drain || fail "the print service did not finish its jobs"
  ls "$outbox"/*"$token"* 2>/dev/null && fail "a cancelled job was printed"
  ;;
onepage)
  # Up to 40 patterned images on one page: each in its cell of the grid,
  # enlarged and aligned by the box, the header once for the page. The
  # section is the case's own name so that the job's name finds its PDF.
  for args in "3 1 4 0" "12 4 3 4" "40 20 2 8"; do
    set -- $args
    section="$token-$1"
    printf '[%s]\r\nPrintAllPage=1,%s,0,%s,1,%s,0,0\r\nPrintOnePage=0,1,3,0,4,1,1,0,1,1,0,1,0\r\n' \
      "$section" "$3" "$4" "$2" > "$ini"
    printf 'HeaderCenter=Grid of %s\r\n' "$section" >> "$ini"
    out=$(kprint onepage "$section" "$ini_win" "$1" 16 12 "C:\\$section-")
    grep -q "^message:" <<<"$out" && fail "$1 images: $out"
    pdf=$(job_pdf "$section") || fail "no PDF for $1 images"
    [ "$(pages_of "$pdf")" = 1 ] || fail "$1 images: one page expected"
    [ "$(pdftotext "$pdf" - | grep -c "Grid of $section")" = 1 ] || fail "$1 images: header not once"
    ppm=$(render "$pdf" 1)
    result=$(python3 "$here/print_check.py" grid "$ppm" "$1" "$2" 16 12 "$3" "$4" -)
    rm -f "$ppm"
    echo "$1 images in $2 columns: $result"
    case "$result" in "bad 0 of "[1-9]*) ;; *) fail "$1 images in $2 columns: $result" ;; esac
  done
  ;;
sheets)
  # The option sheets driven through their controls; each page is
  # photographed (kept under $E2E_ROOT/sheet-shots) and the settings file,
  # the print state (what the next job prints) and the printout checked.
  shots="$E2E_ROOT/sheet-shots"
  mkdir -p "$shots"
  shots_win="Z:${shots//\//\\}"
  shot() { echo "shot:$shots_win\\$1.bmp"; }
  key_of() { tr -d '\r' < "$ini" | sed -n "s/^$1=//p"; }
  # Single image: copies, scale, landscape, the middle landscape box, a
  # retyped note and header, every page seen; OK stores and prints them.
  set_key PrintOnePage "0,1,3,0,0,0,1,0,1,1,1,1,0"
  export KPRINT_SHEET="$(shot print-portrait);text:1305=2;text:1306=4;click:1313;press:213;$(shot print);label;page:1;text:1412=Edited note of $token;$(shot notepad);page:2;text:1422=Left \$fname;$(shot header);page:3;$(shot footer);page:4;$(shot macros);ok"
  out=$(kprint one "Kaptura 99" "$ini_win" 24 32 24 "C:\\$token.bmp" "Own note" 0)
  echo "$out"
  grep -qx "sheet: Kaptura 99 Print" <<<"$out" || fail "no sheet"
  grep -qx "record unchanged" <<<"$out" || fail "the caller's record changed"
  grep -qx "label: Page(s): 1" <<<"$out" || fail "page count label"
  [ "$(key_of PrintOnePage)" = "4,2,4,0,4,1,1,0,1,1,1,1,0" ] || fail "PrintOnePage: $(key_of PrintOnePage)"
  [ "$(key_of HeaderLeft)" = 'Left $fname' ] || fail "HeaderLeft: $(key_of HeaderLeft)"
  pdf=$(job_pdf "$token") || fail "no PDF after OK"
  [ "$(pages_of "$pdf")" = 2 ] || fail "2 copies asked, $(pages_of "$pdf") pages printed"
  text=$(pdftotext "$pdf" -)
  grep -Fq "Left C:\\$token.bmp" <<<"$text" || fail "retyped header not printed"
  grep -Fq "Edited note of $token" <<<"$text" || fail "edited note not printed"
  grep -Fq "Own note" <<<"$text" && fail "the image's own note printed"
  check_cells "$pdf" 1 32 24 24 4 4
  # Out of range: refused with the range message, the sheet stays; Cancel
  # then prints nothing and stores nothing.
  before=$(cat "$ini")
  export KPRINT_SHEET="page:0;text:1306=100;ok;show:1306;cancel"
  out=$(kprint one "Kaptura 99" "$ini_win" 24 8 8 "C:\\$token-c.bmp")
  echo "$out"
  grep -qx "message: Please enter an integer between 1 and 99." <<<"$out" || fail "scale 100 accepted"
  grep -qx "show 1306: 100 enabled" <<<"$out" || fail "the sheet closed after the range message"
  [ "$(cat "$ini")" = "$before" ] || fail "Cancel changed the settings"
  print_queue_drain || fail "the print service did not finish its jobs"
  ls "$outbox"/*"$token-c"* 2>/dev/null && fail "printed after Cancel"
  # Settings only: the screen's size stands for the image; OK stores
  # (copies above 99 too: printing as many would take minutes).
  export KPRINT_SHEET="page:0;text:1305=250;click:1316;$(shot setup-large);label;ok"
  out=$(kprint setup "Kaptura 99" "$ini_win")
  echo "$out"
  [ "$(key_of PrintOnePage | cut -d, -f7)" = 2 ] || fail "setup: preview size not stored"
  [ "$(key_of PrintOnePage | cut -d, -f2)" = 250 ] || fail "setup: 250 copies not stored"
  # One by one: Prev and Next walk the three images.
  export KPRINT_SHEET="page:0;text:1305=1;show:1000;show:1001;click:1001;click:1001;show:1002;show:1000;show:1001;$(shot print-all);ok"
  out=$(kprint all "Kaptura 99" "$ini_win" 3 8 30 20 "C:\\$token-n")
  echo "$out"
  grep -qx "show 1000: Prev disabled" <<<"$out" || fail "Prev enabled on the first image"
  grep -qx "show 1002: Preview Image 3 of 3 enabled" <<<"$out" || fail "group text"
  grep -qx "show 1001: Next disabled" <<<"$out" || fail "Next enabled on the last image"
  for i in 1 2 3; do job_pdf "$token-n$i" >/dev/null || fail "no PDF for image $i"; done
  ;;
pagecount)
  # The single preview's page count is the number of pages the job prints.
  export KPRINT_SHEET="label;ok"
  for args in "1 100 100" "2 1300 800" "6 3000 900"; do
    set -- $args
    printf '[Kaptura 99]\r\nPrintOnePage=0,1,3,0,0,1,1,0,0,0,0,0,0\r\n' > "$ini"
    out=$(kprint one "Kaptura 99" "$ini_win" 8 "$2" "$3" "C:\\$token-$1.bmp")
    grep -qx "label: Page(s): $1" <<<"$out" || fail "$2 x $3: $(grep label <<<"$out")"
    pdf=$(job_pdf "$token-$1") || fail "no PDF for $2 x $3"
    [ "$(pages_of "$pdf")" = "$1" ] || fail "$2 x $3: $(pages_of "$pdf") pages printed, $1 counted"
  done
  ;;
onepage_sheet)
  # The all-on-one-page sheet: ranges, a drag to another cell, a drag off
  # the page, the last image kept, a drag whose capture is lost.
  shots="$E2E_ROOT/sheet-shots"
  mkdir -p "$shots"
  shots_win="Z:${shots//\//\\}"
  shot() { echo "shot:$shots_win\\$1.bmp"; }
  key_of() { tr -d '\r' < "$ini" | sed -n "s/^$1=//p"; }
  grid_of() {   # pdf n columns order
    local ppm result
    ppm=$(render "$1" 1)
    result=$(python3 "$here/print_check.py" grid "$ppm" "$2" "$3" 16 12 3 4 "$4")
    rm -f "$ppm"
    case "$result" in "bad 0 of "[1-9]*) ;; *) fail "$2 images, order $4: $result" ;; esac
  }
  section="$token-s"
  printf '[%s]\r\nPrintAllPage=1,3,0,4,1,5,0,1\r\nPrintOnePage=0,1,3,0,4,1,1,0,1,1,0,0,0\r\n' "$section" > "$ini"
  export KPRINT_SHEET="show:1215;$(shot onepage-small);text:1215=21;ok;text:1215=2;text:1333=150;ok;text:1333=2;click:1336;$(shot onepage-large);drag:0,2;label;page:1;text:1423=Top of $section;click:1426;$(shot onepage-header);page:3;$(shot onepage-macros);ok"
  out=$(kprint onepage "$section" "$ini_win" 3 16 12 "C:\\$section-")
  echo "$out"
  grep -qx "show 1215: 3 enabled" <<<"$out" || fail "columns not limited to the images"
  grep -qx "message: Please enter an integer between 1 and 20." <<<"$out" || fail "21 columns accepted"
  grep -qx "message: Please enter an integer between 1 and 99." <<<"$out" || fail "150 copies accepted"
  [ "$(key_of PrintAllPage)" = "2,3,0,4,1,2,1,1" ] || fail "PrintAllPage: $(key_of PrintAllPage)"
  [ "$(key_of HeaderCenter)" = "Top of $section" ] || fail "header text not stored"
  pdf=$(job_pdf "$section") || fail "no PDF"
  pdftotext "$pdf" - | grep -q "Top of $section" || fail "header typed in the sheet not printed"
  grid_of "$pdf" 3 2 1,2,0
  # Off the page, confirmed: gone from the printout; Cancel keeps it.
  section="$token-r"
  printf '[%s]\r\nPrintAllPage=1,3,0,4,1,3,0,0\r\nPrintOnePage=0,1,3,0,4,1,1,0,1,1,0,0,0\r\n' "$section" > "$ini"
  export KPRINT_SHEET="answer:cancel;drag:2,-1;drag:1,-1;ok"
  out=$(kprint onepage "$section" "$ini_win" 3 16 12 "C:\\$section-")
  echo "$out"
  [ "$(grep -c "message: Remove this image?" <<<"$out")" = 2 ] || fail "removal not asked"
  grid_of "$(job_pdf "$section")" 2 3 0,2
  # The last image stays; a lost capture ends the drag with nothing moved.
  section="$token-l"
  printf '[%s]\r\nPrintAllPage=1,3,0,4,1,1,0,0\r\nPrintOnePage=0,1,3,0,4,1,1,0,1,1,0,0,0\r\n' "$section" > "$ini"
  # The refusal's message box comes once the drag is over; it is answered
  # before the sheet's next step.
  export KPRINT_SHEET="drag:0,-1;lose:0;ok"
  out=$(kprint onepage "$section" "$ini_win" 1 16 12 "C:\\$section-")
  echo "$out"
  grep -q "^message: You can not remove this image." <<<"$out" || fail "33021 not shown"
  grid_of "$(job_pdf "$section")" 1 1 0
  section="$token-k"
  printf '[%s]\r\nPrintAllPage=1,3,0,4,1,3,0,0\r\nPrintOnePage=0,1,3,0,4,1,1,0,1,1,0,0,0\r\n' "$section" > "$ini"
  export KPRINT_SHEET="lose:0;drag:2,0;ok"
  out=$(kprint onepage "$section" "$ini_win" 3 16 12 "C:\\$section-")
  grid_of "$(job_pdf "$section")" 3 3 2,0,1
  ;;
bad)
  # Records the job cannot print are refused quietly; nothing is printed.
  for which in depth short-pixels short-header sizes block; do
    out=$(kprint bad "Kaptura 99" "$ini_win" "$which")
    grep -qx "returned" <<<"$out" || fail "$which: the call did not return"
  done
  printf '[Kaptura 99]\r\nPrintOnePage=0,0,0,9,99,7\r\nPrintTimeDate=5,5,5,5,5,5,5,5,5,5\r\nHeaderFont=1,2\r\nPrinter=Gone Printer,nodrv,NUL:\r\n' > "$ini"
  kprint one "Kaptura 99" "$ini_win" 8 20 20 "C:\\$token-odd.bmp" "" 0 >/dev/null
  pdf=$(job_pdf "$token-odd") || fail "bad settings and a vanished printer did not fall back"
  check_cells "$pdf" 1 20 20 8 1 4
  out=$(kprint onepage "Kaptura 99" "$ini_win" 41)
  grep -qx "message: The maximum you can print on one page is 40 images." <<<"$out" || fail "41 images"
  ;;
no_printer)
  # A print service of our own: removing its queue touches nobody else. A
  # new prefix, made while that service is the one Wine sees.
  private="$case_dir/cups"
  sock=$(print_queue_private "$private") || fail "no private print service"
  export CUPS_SERVER="$sock"
  kwineserver -k >/dev/null 2>&1 || true
  export WINEPREFIX="$case_dir/prefix"
  KAPTURA_PREFIX_TEMPLATE="" wine_session_make_prefix "$WINEPREFIX" || fail "no prefix"
  CUPS_SERVER="$sock" lpadmin -x PDF
  out=$(kprint one "Kaptura 99" "$ini_win" 24 8 8 "C:\\$token-x.bmp")
  out+=$'\n'$(kprint all "Kaptura 99" "$ini_win" 1 24 8 8 "C:\\$token-y")
  out+=$'\n'$(kprint onepage "Kaptura 99" "$ini_win" 2)
  echo "$out"
  [ "$(grep -cx "message: Printer or printer driver is not available." <<<"$out")" = 3 ] ||
    fail "not every export said there is no printer"
  # Once the queue is back the next call prints, without ResetPrinter. (Wine
  # reads the printer list once per process, so the call is the next
  # program's.)
  CUPS_SERVER="$sock" lpadmin -p PDF -v cups-pdf:/ -E -P "$print_queue_ppd" 2>/dev/null
  CUPS_SERVER="$sock" lpadmin -d PDF
  deadline=$((SECONDS + 60))
  until CUPS_SERVER="$sock" lpstat -a PDF 2>/dev/null | grep -q accepting; do
    [ $SECONDS -lt $deadline ] || fail "the queue did not come back"
    sleep 0.2
  done
  out=$(kprint one "Kaptura 99" "$ini_win" 24 1300 900 "C:\\$token-a.bmp")
  echo "$out"
  grep -q "^message:" <<<"$out" && fail "still no printer once the queue is back"
  grep -q "^meter3: Page [0-9] of 4" <<<"$out" || fail "no page sent once the queue is back"
  ;;
cache)
  # A second call whose section differs only in case reuses the options it
  # loaded (its own file is not read); after ResetPrinter they are loaded
  # again from that file.
  other="$case_dir/other.ini"
  printf '[KAPTURA 99]\r\nPrintOnePage=0,1,1,0,0\r\n' > "$other"
  kprint twice "Kaptura 99" "$ini_win" "KAPTURA 99" "Z:${other//\//\\}" "C:\\$token-" >/dev/null
  check_cells "$(job_pdf "$token-1")" 1 32 24 24 3 4
  check_cells "$(job_pdf "$token-2")" 1 32 24 24 3 4
  check_cells "$(job_pdf "$token-3")" 1 32 24 24 1 0
  ;;
printer_setup)
  # The print-setup dialog's choice lands in the Printer key and KTPrint.ini;
  # the file's settings (here Letter paper) are used only for the printer
  # and driver it was written for.
  ktprint="$WINEPREFIX/drive_c/windows/KTPrint.ini"
  rm -f "$ktprint"
  out=$(kprint printer-setup "Kaptura 99" "$ini_win")
  echo "$out"
  grep -q "^setup dialog:" <<<"$out" || fail "no print-setup dialog"
  printer=$(grep -a "^Printer=" "$ini" | cut -d= -f2- | tr -d '\r')
  [ "${printer%%,*}" = PDF ] || fail "Printer key: $printer"
  [ -s "$ktprint" ] || fail "no KTPrint.ini"
  devmode() { python3 - "$ktprint" "$@" <<'PY'
import struct, sys
path, action = sys.argv[1], sys.argv[2]
data = bytearray(open(path, "rb").read())
own, extra = struct.unpack_from("<HH", data, 36)
if action == "size":
    print("ok" if own + extra == len(data) else "bad %d + %d != %d" % (own, extra, len(data)))
elif action == "letter":
    struct.pack_into("<I", data, 40, struct.unpack_from("<I", data, 40)[0] | 2)
    struct.pack_into("<h", data, 46, 1)
elif action == "rename":
    data[0:32] = b"Another Printer".ljust(32, b"\0")
elif action == "cut":
    data = data[:len(data) - 7]
if action != "size":
    open(path, "wb").write(data)
PY
  }
  [ "$(devmode size)" = ok ] || fail "KTPrint.ini is not one device-mode block: $(devmode size)"
  paper() {   # prints a small image, echoes the page size of its PDF
    kprint one "Kaptura 99" "$ini_win" 24 16 16 "C:\\$token-$1.bmp" >/dev/null
    pdfinfo "$(job_pdf "$token-$1")" | awk '/^Page size:/{print $3 "x" $5}'
  }
  [ "$(paper a)" = 595x842 ] || fail "the driver's A4 expected"
  devmode letter
  [ "$(paper b)" = 612x792 ] || fail "the device settings file's Letter paper was not used"
  devmode rename
  [ "$(paper c)" = 595x842 ] || fail "a file written for another printer was used"
  devmode letter
  devmode cut
  [ "$(paper d)" = 595x842 ] || fail "a cut file was used"
  rm -f "$ktprint"
  ;;
*)
  fail "unknown case $scenario"
  ;;
esac
echo "PASS: $scenario"
