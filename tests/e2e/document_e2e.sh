#!/usr/bin/env bash
# End-to-end cases of the image documents under Wine: document_e2e.sh <case>.
# Files are opened and saved through the program's own Open and Save As
# dialogs, driven by kdriver; ImageMagick is the judge of what was written.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

IM=/usr/bin
FileOpen=57601
FileSaveAs=57604
FileNameBox=0x47c   # the file dialog's name field
# The Windows path of a file in the case's program folder.
winpath() { echo "Z:${app//\//\\}\\$1"; }

# Runs the file dialog the command opens with the given file name.
file_dialog() {
  local command=$1 name=$2 pid dialog
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" "$command" >/dev/null
  dialog=$(kd wait-dialog "$pid" - 10) || fail "no file dialog for $command"
  kd set-text "$dialog" $FileNameBox "$(winpath "$name")" >/dev/null || fail "no name field"
  kd answer "$dialog" 1 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the file dialog stayed"
}

# Waits for a file to appear (the program writes it after the dialog).
wait_file() {
  for _ in $(seq 40); do [ -s "$app/$1" ] && return 0; sleep 0.25; done
  fail "$1 was not written"
}

# Answers the next message box of the program with a button and prints its text.
answer_box() {
  local pid box
  pid=$(kd window-pid "$frame")
  box=$(kd wait-dialog "$pid" "$1" 10) || fail "no \"$1\" box"
  kd dialog-text "$box"
  kd answer "$box" "$2" >/dev/null
  kd wait-gone "$box" 10 >/dev/null || fail "the \"$1\" box stayed"
}

case_open_save_png() {
  seed_ini
  $IM/convert-im6.q16 -size 41x23 gradient:red-blue BMP3:"$app/shot.bmp"
  printf 'first line\0' > "$app/shot.txt"
  start_kaptura
  file_dialog $FileOpen shot.bmp
  wait_children 1
  [ "$(kd mdi-children "$frame")" = "shot.bmp" ] || fail "window title: $(kd mdi-children "$frame")"
  file_dialog $FileSaveAs saved.png
  wait_file saved.png
  [ "$($IM/compare-im6.q16 -metric AE "$app/shot.bmp" "$app/saved.png" null: 2>&1)" = 0 ] \
    || fail "the PNG does not hold the same pixels"
  $IM/identify-im6.q16 -verbose "$app/saved.png" | grep -q 'first line' || fail "no note in the PNG"
  [ ! -e "$app/saved.txt" ] || fail "a PNG got a side file"
  kd mdi-children "$frame" | grep -q 'saved.png' || fail "the window is not titled by the saved file"
  exit_kaptura
}

case_note_round_trip() {
  seed_ini
  $IM/convert-im6.q16 -size 16x16 xc:green BMP3:"$app/in.bmp"
  printf 'note travels\0' > "$app/in.txt"
  start_kaptura
  # BMP and side file -> PNG with the note inside -> BMP and a new side file.
  file_dialog $FileOpen in.bmp
  wait_children 1
  file_dialog $FileSaveAs middle.png
  wait_file middle.png
  kd post-command "$frame" 57602 >/dev/null   # Close
  wait_children 0
  file_dialog $FileOpen middle.png
  wait_children 1
  file_dialog $FileSaveAs out.bmp
  wait_file out.txt
  [ "$(tr -d '\0' < "$app/out.txt")" = "note travels" ] || fail "side file: $(cat -v "$app/out.txt")"
  [ "$(tail -c1 "$app/out.txt" | od -An -tu1 | tr -d ' ')" = 0 ] || fail "the side file has no final zero"
  [ "$($IM/compare-im6.q16 -metric AE "$app/in.bmp" "$app/out.bmp" null: 2>&1)" = 0 ] || fail "pixels changed"
  exit_kaptura
}

case_corrupt_file() {
  seed_ini
  printf '\x89PNG\r\n\x1a\nnot really' > "$app/broken.png"
  start_kaptura
  file_dialog $FileOpen broken.png
  answer_box "Format Error" 1 | grep -q . || fail "the format library's message had no text"
  sleep 0.5
  wait_children 0
  [ "$(kd status-text "$frame" 4)" = "000" ] || fail "a document was counted"
  exit_kaptura
}

case_failed_save() {
  seed_ini
  $IM/convert-im6.q16 -size 8x8 xc:white BMP3:"$app/old.bmp"
  start_kaptura
  kd hotkey "$frame" 1 c >/dev/null           # a screen capture: not on disk yet
  wait_children 1
  file_dialog $FileSaveAs 'missing\x.bmp'
  answer_box "Format Error" 1 >/dev/null
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "the title changed after a failed save"
  # Still modified: closing asks, and No lets it go unsaved.
  local before
  before=$(md5sum < "$app/old.bmp")
  kd post-command "$frame" 57665 >/dev/null
  answer_box - 7 | grep -q 'Screen Capture' || fail "no save prompt for the capture"
  kd wait-gone "$frame" 20 >/dev/null || fail "the program did not end"
  [ "$(md5sum < "$app/old.bmp")" = "$before" ] || fail "the old file changed"
  [ ! -e "$app/missing" ] || fail "a folder was made"
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
