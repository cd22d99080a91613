#!/usr/bin/env bash
# The status bar after the image commands' pixel loops: whatever a loop
# reported last, the bar is gone and the panes are back once the command
# has opened its window. status_progress_e2e.sh <case>.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

# Pixels of the progress bar's colours (navy done, yellow left) in the
# status bar as it is on the screen.
progress_pixels() {
  local bar left top right bottom
  bar=$(kd children "$frame" | awk -F'\t' '$2 == "msctls_statusbar32" { print $1; exit }')
  [ -n "$bar" ] || fail "no status bar"
  read -r left top right bottom <<< "$(window_rect "$bar")"
  /usr/bin/import-im6.q16 -window root -crop $((right - left))x$((bottom - top))+$left+$top +repage "$1"
  /usr/bin/convert-im6.q16 "$1" -depth 8 rgb:- | python3 -c "
import sys
data = sys.stdin.buffer.read()
print(sum(1 for i in range(0, len(data) - 2, 3) if data[i:i + 3] in (b'\x00\x00\x80', b'\xff\xff\x00')))"
}

case_after_each_command() {
  # 640 x 483: the loops' last reports fall short of 100 %.
  seed_ini
  /usr/bin/convert-im6.q16 -size 640x483 gradient:red-blue -type TrueColor "BMP3:$app/picture.bmp"
  start_kaptura
  run_file_dialog 57601 "Z:${app//\//\\}\\picture.bmp"
  wait_children 1
  [ "$(progress_pixels "$case_dir/before.png")" = 0 ] || fail "progress colours before any command"
  local entry id title count=1
  # Each command on the window the one before opened, the whole image
  # selected for the crop commands.
  for entry in "32792:Flip Horizontal" "32793:Flip Vertical" "32794:Rotate Left" "32795:Rotate Right" \
               "32800:Grayscale" "32801:Invert" "32808:Crop" "32809:Erase" \
               "32790:Zoom Out" "32789:Zoom In"; do
    IFS=: read -r id title <<< "$entry"
    kd command "$frame" 32805 >/dev/null
    kd command "$frame" "$id" >/dev/null
    count=$((count + 1))
    wait_children "$count"
    sleep 0.5
    shot="$case_dir/status-$id.png"
    [ "$(progress_pixels "$shot")" = 0 ] || fail "$title left the progress bar on the status bar (see $shot)"
  done
  exit_kaptura
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
