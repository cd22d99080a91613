#!/usr/bin/env bash
# Real printing through the print library: kprint calls the exports under
# Wine with the PDF printer as the default printer, and each case reads the
# PDF back (pdftotext for the texts, pdftoppm for the pixels).
#
#   print_e2e.sh <case>
# Needs: BIN (the build's bin folder with kprint.exe and the DLLs), E2E_ROOT.
set -euo pipefail
: "${BIN:?}" "${E2E_ROOT:?}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scenario=$1

# The session: the print service and its queue (before any prefix is made),
# a display of the case's own and the group's prefix.
export TZ=UTC
KAPTURA_SCREEN=1024x768x24
KAPTURA_PREFIX="${KAPTURA_RUN_DIR:-$E2E_ROOT}/prefix-${E2E_GROUP:-print}"
source "$root/scripts/wine-session.sh"
[ "$PRINT_QUEUE_OK" = 1 ] || { echo "FAIL: no PDF print queue" >&2; exit 1; }
outbox="$HOME/PDF"
mkdir -p "$E2E_ROOT"
case_dir=$(mktemp -d "$E2E_ROOT/print.XXXXXX")
private=""
finish() {
  local status=$?
  wine_session_end
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
kprint() { (cd "$BIN" && timeout 120 "$KAPTURA_WINE" kprint.exe "$@" 2>/dev/null | stdbuf -oL tr -d '\r'); }

# The PDF of the job whose file name holds the given name; waits for the
# print service to finish it.
job_pdf() {
  local name=$1 file=""
  for _ in $(seq 100); do
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
  for spec in "1 5 0" "4 2 8" "8 4 2" "32 3 6"; do
    set -- $spec
    printf '[Kaptura 99]\r\nPrintOnePage=0,1,%s,0,%s,1,1,0,0,0,0,0,0\r\n' "$2" "$3" > "$ini"
    kprint one "Kaptura 99" "$ini_win" "$1" 40 28 "C:\\$token-$1.bmp" "" 0 >/dev/null
    pdf=$(job_pdf "$token-$1") || fail "no PDF for $1 bits"
    [ -z "$(pdftotext "$pdf" - | tr -d '[:space:]')" ] || fail "$1 bits: texts printed though switched off"
    check_cells "$pdf" 1 40 28 "$1" "$2" "$3"
  done
  # Grayscale and black and white rework the colour table; 24 bits stay in
  # colour whatever the mode.
  for spec in "8 1 gray" "4 2 bw" "1 1 gray" "24 2 bw"; do
    set -- $spec
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
  sleep 3
  ls "$outbox"/*"$token"* 2>/dev/null && fail "a cancelled job was printed"
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
