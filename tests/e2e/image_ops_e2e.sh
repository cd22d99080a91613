#!/usr/bin/env bash
# End-to-end cases of the Tool and Crop commands under Wine:
# image_ops_e2e.sh <case>. A 64 x 48 capture of kprobe's pattern is the
# source; each command's window is copied to the clipboard, saved and
# compared with the same operation done by ImageMagick or computed here.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

Ctrl=c
shots="$case_dir/shots"
mkdir -p "$shots"

magick() { convert-im6.q16 "$@"; }

start_with_pattern() {
  seed_ini "SendtoPage=0,1,1,0,0,0,0,5,5" "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0" \
           "ScreenPage=0,0,64,48,0,0" "$@"
  start_kaptura
  probe pattern 0 0 64 48 900 >/dev/null &
  pids+=($!)
  kd wait-window KaptureProbePattern - 10 >/dev/null || fail "no pattern window"
  sleep 0.5
}

finish_case() {
  local window
  for window in $(kd wait-window KaptureProbePattern - 0.1 2>/dev/null); do kd close "$window" >/dev/null || true; done
  exit_kaptura
}

# A capture of the pattern in a new window, which becomes the active one.
capture() {
  local before
  before=$(kd mdi-children "$frame" | grep -c . || true)
  kd hotkey "$frame" 1 $Ctrl
  wait_children $((before + 1))
}

# The active image window's picture, through Copy Image, into a file.
document_to() {
  kd command "$frame" 32778 >/dev/null
  probe clipboard-save "$1" || fail "no bitmap on the clipboard for $1"
}

# Runs a command on the active window and expects a new window of that title.
run_command() {
  local before
  before=$(kd mdi-children "$frame" | grep -c . || true)
  kd command "$frame" "$1" >/dev/null
  wait_children $((before + 1))
  kd mdi-children "$frame" | head -1 | grep -qx "$2" || fail "command $1 did not open '$2'"
}

expect_same() {
  local bad
  bad=$(check same "$1" "$2") || fail "$1 differs from $2: $bad"
}

expect_size() {
  local got
  got=$(check size "$1" | cut -d' ' -f1)
  [ "$got" = "$2" ] || fail "$1 is $got, not $2"
}

# The image view of the active window and its screen rectangle.
active_view() { kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1; exit }'; }

case_tool_commands() {
  # Each command on a fresh capture; ImageMagick does the same to the
  # capture's file.
  start_with_pattern
  capture
  document_to "$shots/source.bmp"
  check pattern "$shots/source.bmp" 0 0 | grep -qx 0 || fail "the capture is not the pattern"
  local entry id title operation
  for entry in "32792:Flip Horizontal:-flop" "32793:Flip Vertical:-flip" "32794:Rotate Left:-rotate -90" \
               "32795:Rotate Right:-rotate 90" "32789:Zoom In:-sample 200%"; do
    IFS=: read -r id title operation <<< "$entry"
    capture
    run_command "$id" "$title"
    document_to "$shots/$id.bmp"
    # shellcheck disable=SC2086
    magick "$shots/source.bmp" $operation -type TrueColor "BMP3:$shots/$id-expected.bmp"
    expect_same "$shots/$id.bmp" "$shots/$id-expected.bmp"
  done
  # Zoom Out keeps the stored rows and columns 0, 1, 3, 5, ... (the plain
  # rule drops every second one after the first two).
  capture
  run_command 32790 "Zoom Out"
  document_to "$shots/zoom-out.bmp"
  expect_size "$shots/zoom-out.bmp" 32x24
  python3 -c "
import sys; sys.path.insert(0, '$here')
import bmp_check as b
bmp = b.Bitmap('$shots/zoom-out.bmp')
def kept(n, k):
    out, i = [], 1
    ratio = n / (n - k)
    for f in range(n):
        if len(out) == k or (i <= n - k and f == int(i * ratio)):
            i += 1
            continue
        out.append(f)
    return out
columns, rows = kept(64, 32), kept(48, 24)
# Stored rows count from the bottom.
bad = sum(1 for y in range(24) for x in range(32)
          if bmp.at(x, 23 - y) != b.pattern(columns[x], 47 - rows[y]))
sys.exit(1 if bad else 0)
" || fail "Zoom Out kept the wrong rows or columns"
  # Zoom Out switched smooth scaling off, and it is saved so.
  finish_case
  [ "$(ini_get RunMode | cut -d, -f9)" = 0 ] || fail "Zoom Out left smooth scaling on"
}

case_scale_dialog() {
  start_with_pattern
  capture
  local pid box
  pid=$(kd window-pid "$frame")
  # Pixels: 100 x 30, the width grown by a whole factor and cut back.
  kd post-command "$frame" 32791 >/dev/null
  box=$(kd wait-dialog "$pid" Scale 10) || fail "no Scale dialog"
  texts_whole "$box" "the Scale dialog"
  kd set-text "$box" 1485 100 >/dev/null
  kd set-text "$box" 1486 30 >/dev/null
  kd answer "$box" 1 >/dev/null
  wait_children 2
  kd mdi-children "$frame" | head -1 | grep -qx "Zoom In" || fail "a grown scale is not titled Zoom In"
  document_to "$shots/scaled.bmp"
  expect_size "$shots/scaled.bmp" 100x30
  # Percent: 50 % of 64 x 48 by the radio button.
  capture
  kd post-command "$frame" 32791 >/dev/null
  box=$(kd wait-dialog "$pid" Scale 10) || fail "no Scale dialog"
  local radio
  radio=$(kd children "$box" | grep centage | head -1 | cut -f1)
  [ -n "$radio" ] || fail "no percentage button"
  kd send "$radio" 0xF5 0 0 >/dev/null          # BM_CLICK
  kd set-text "$box" 1485 50 >/dev/null
  kd set-text "$box" 1486 50 >/dev/null
  kd answer "$box" 1 >/dev/null
  wait_children 4
  kd mdi-children "$frame" | head -1 | grep -qx "Zoom Out" || fail "a halving scale is not titled Zoom Out"
  document_to "$shots/half.bmp"
  expect_size "$shots/half.bmp" 32x24
  # Out of range: the dialog says so and stays.
  kd post-command "$frame" 32791 >/dev/null
  box=$(kd wait-dialog "$pid" Scale 10) || fail "no Scale dialog"
  kd set-text "$box" 1485 0 >/dev/null
  kd answer "$box" 1 >/dev/null
  local message
  message=$(kd wait-dialog "$pid" - 5) || fail "no range message"
  for _ in $(seq 20); do
    [ "$message" != "$box" ] && break
    sleep 0.25
    message=$(kd wait-dialog "$pid" - 5)
  done
  kd dialog-text "$message" | grep -q "between 1 and 65535" || fail "no range message: $(kd dialog-text "$message")"
  kd answer "$message" 1 >/dev/null
  kd answer "$box" 2 >/dev/null
  kd wait-gone "$box" 5 || fail "the Scale dialog stayed"
  [ "$(kd mdi-children "$frame" | grep -c .)" = 4 ] || fail "a cancelled Scale opened a window"
  finish_case
}

case_crop_keys() {
  # Select Image, then the keys: Right twice (left edge in), Down (top edge
  # in), Shift+Left (right edge in), I (all four in): the selection is
  # (3, 2) to (62, 47).
  start_with_pattern
  capture
  kd command "$frame" 32805 >/dev/null
  sleep 0.3
  xdotool key Right Right Down shift+Left i
  sleep 0.5
  run_command 32808 Crop
  document_to "$shots/crop.bmp"
  expect_size "$shots/crop.bmp" 59x45
  check pattern "$shots/crop.bmp" 3 2 | grep -qx 0 || fail "the crop is not the selected part"
  # Erase of the same selection on a new capture: white inside, the
  # pattern outside.
  capture
  kd command "$frame" 32805 >/dev/null
  sleep 0.3
  xdotool key Right Right Down shift+Left i
  sleep 0.5
  run_command 32809 Erase
  document_to "$shots/erase.bmp"
  python3 -c "
import sys; sys.path.insert(0, '$here')
import bmp_check as b
bmp = b.Bitmap('$shots/erase.bmp')
bad = sum(1 for y in range(48) for x in range(64)
          if bmp.at(x, y) != ((255, 255, 255) if 3 <= x < 62 and 2 <= y < 47 else b.pattern(x, y)))
sys.exit(1 if bad else 0)
" || fail "Erase did not whiten exactly the selection"
  finish_case
}

# Of two image windows, the image of the second is dropped onto the first,
# tiled beside it; sets $target to the merging window's view.
drop_into_merging_window() {
  kd command "$frame" 0xE134 >/dev/null        # Tile Vertically
  sleep 0.5
  local views source title=""
  views=$(kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1 }')
  [ "$(echo "$views" | grep -c .)" = 2 ] || fail "expected two image views"
  source=$(echo "$views" | sed -n 2p)
  target=$(echo "$views" | sed -n 1p)
  read -r sl st _ _ <<< "$(window_rect "$source")"
  read -r tl tt tr tb <<< "$(window_rect "$target")"
  probe drag $((sl + 20)) $((st + 20)) $(((tl + tr) / 2)) $(((tt + tb) / 2)) || fail "the drag failed"
  for _ in $(seq 20); do
    title=$(kd mdi-children "$frame" | grep "Merging" || true)
    [ -n "$title" ] && break
    sleep 0.25
  done
  [ "$title" = "Merging - 2" ] || fail "the drop did not make a merging window: '$title'"
}
# A click where the merging window shows no image makes it the active one.
activate_merging_window() {
  probe click $((tr - 30)) $((tb - 30)) || fail "the click failed"
  for _ in $(seq 20); do
    kd mdi-children "$frame" | head -1 | grep -q "Merging" && break
    sleep 0.25
  done
}

case_merge_drop() {
  # Two captures side by side; the first one's image is dropped onto the
  # second window, moved three pixels right by keys, and merged.
  start_with_pattern
  capture
  capture
  drop_into_merging_window
  # The arrow keys move the dropped (top) image of the merging window.
  for _ in 1 2 3; do kd send "$target" 0x100 0x27 0 >/dev/null; done   # WM_KEYDOWN VK_RIGHT
  activate_merging_window
  run_command 32796 "Merged Image"
  document_to "$shots/merged.bmp"
  expect_size "$shots/merged.bmp" 117x98
  python3 -c "
import sys; sys.path.insert(0, '$here')
import bmp_check as b
bmp = b.Bitmap('$shots/merged.bmp')
def want(x, y):
    if 53 <= x < 117 and 50 <= y < 98:
        return b.pattern(x - 53, y - 50)
    if x < 64 and y < 48:
        return b.pattern(x, y)
    return (255, 255, 255)
bad = sum(1 for y in range(98) for x in range(117) if bmp.at(x, y) != want(x, y))
sys.exit(1 if bad else 0)
" || fail "the merged picture does not hold both images at their places"
  finish_case
}

# A green 24-bit bitmap 40 pixels wide and 240000 high (taller than
# ImageMagick makes by default).
tall_bitmap() {
  python3 - "$1" <<'PY'
import struct, sys
width, height = 40, 240000
row = bytes((0, 128, 0)) * width
header = struct.pack("<2sIHHI", b"BM", 54 + len(row) * height, 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(row) * height, 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + row * height)
PY
}

# The Linux process of the program: the descendant of its start whose
# command line names it.
program_process() {
  ps -eo pid=,ppid=,args= | awk -v root="${pids[0]}" '
    { parent[$1] = $2; line[$1] = $0 }
    END {
      for (p in parent) {
        for (q = p; q > 1 && q != root; q = parent[q]) ;
        if (q == root && line[p] ~ /Kaptura99\.exe/) print p
      }
    }' | head -1
}

case_merge_progress_box() {
  # Two tall pictures: the merge shows its progress row by row, which keeps
  # the progress box up long enough to be looked at, texts and all.
  seed_ini
  start_kaptura
  local name count=0 pid watcher ready="$case_dir/watching" box text="" cut line proc standing left top right bottom
  local shot="$E2E_ROOT/image_ops-shots/merge-progress.png"
  mkdir -p "$(dirname "$shot")"   # kept after the run for a look
  for name in tall1 tall2; do
    tall_bitmap "$case_dir/$name.bmp"
    run_file_dialog 57601 "Z:${case_dir//\//\\}\\$name.bmp"
    wait_children $((++count))
  done
  drop_into_merging_window
  activate_merging_window
  pid=$(kd window-pid "$frame")
  kd watch-dialog "Z:${ready//\//\\}" "$pid" Merge 120 >"$case_dir/merge-box" &
  watcher=$!
  local deadline=$((SECONDS + 60))
  while [ ! -e "$ready" ] && [ $SECONDS -lt $deadline ] && kill -0 "$watcher" 2>/dev/null; do sleep 0.1; done
  [ -e "$ready" ] || fail "the driver does not watch for the progress box"
  kd post-command "$frame" 32796 >/dev/null    # Merge
  wait "$watcher" || fail "no progress box while merging"
  box=$(cat "$case_dir/merge-box")
  # The box is made before its first phase is set.
  deadline=$((SECONDS + 10))
  while [ -z "$text" ] && [ $SECONDS -lt $deadline ]; do
    text=$(kd dialog-text "$box" 2>/dev/null) || break
    [ -n "$text" ] || sleep 0.05
  done
  [ -n "$text" ] || fail "the progress box went before it showed a phase"
  # The program held still as a longer merge would hold it: the box is
  # measured and shot as it stands then.
  proc=$(program_process)
  [ -n "$proc" ] || fail "no process of the program"
  kill -STOP "$proc"
  cut=$(kd text-fit "$box" "MS Sans Serif")
  standing=$(kd visible "$box" 2>/dev/null)
  line=$(window_rect "$(kd item "$box" 1700)")
  import-im6.q16 -window root "$shot"
  kill -CONT "$proc"
  [ "$standing" = 1 ] || fail "the merge ended before its progress box was looked at"
  [ -z "$cut" ] || fail "the merge's progress box cuts texts: $cut"
  read -r left top right bottom <<< "$line"
  # Dark pixels where the static stands: its text is drawn.
  convert-im6.q16 "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage -depth 8 txt:- |
    awk -F'[(),]' 'NR > 1 && $2 + $3 + $4 < 200 { found = 1 } END { exit !found }' ||
    fail "the progress box does not show its text '$text' ($shot)"
  wait_children 3
  kd mdi-children "$frame" | head -1 | grep -qx "Merged Image" || fail "the merge made no Merged Image"
  exit_kaptura
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
