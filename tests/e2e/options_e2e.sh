#!/usr/bin/env bash
# End-to-end cases of the capture program's option dialogs under Wine:
# options_e2e.sh <case>. Each dialog is opened from its command, its
# controls are changed as a user would, and OK and Cancel are compared with
# the settings file. The cases run in a Wine virtual desktop (the caption
# strip needs one); screenshots of every dialog land in the case's shots/.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

use_virtual_desktop 1024x768

shots="$case_dir/shots"
mkdir -p "$shots"
caption() { python3 "$here/caption_check.py" "$@"; }
check() { python3 "$here/bmp_check.py" "$@"; }
optprobe() { kwine "$BIN/koptprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# Screen 1280 pixels wide (the X display) into $shots/$1.png and .rgb.
screenshot() {
  import-im6.q16 -window root "$shots/$1.png"
  convert-im6.q16 "$shots/$1.png" -depth 8 "rgb:$shots/$1.rgb"
}
# Screenshot $1 cut to window $2 into $shots/$1-window.png (for looking at).
window_shot() {
  local l t r b
  read -r l t r b <<< "$(window_rect "$2")"
  convert-im6.q16 "$shots/$1.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$shots/$1-window.png"
}

# The case's own keys come first: the first of two lines of a key counts.
start_options() {
  seed_ini "$@" "SendtoPage=0,1,1,0,0,0,0,5,5" "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0" \
           "ScreenPage=0,0,64,48,0,0"
  start_kaptura
  pid=$(kd window-pid "$frame")
}

# Runs command $1 (posted: the dialog is modal) and sets $box to the dialog
# titled $2.
open_dialog() {
  kd post-command "$frame" "$1" >/dev/null
  box=$(kd wait-dialog "$pid" "$2" 10) || fail "command $1 opened no '$2' dialog"
  sleep 0.3
  local cut
  cut=$(kd text-fit "$box" "MS Sans Serif")
  [ -z "$cut" ] || fail "the '$2' dialog cuts texts: $cut"
}
# Clicks button $1 of the dialog (BM_CLICK: check boxes and radios toggle).
click() { kd send "$(kd item "$box" "$1")" 0xF5 0 0 >/dev/null; }
checked() { kd send "$(kd item "$box" "$1")" 0xF0 0 0; }
enabled() { kd enabled "$(kd item "$box" "$1")"; }
visible() { kd visible "$(kd item "$box" "$1")"; }
close_with() {
  kd answer "$box" "$1" >/dev/null
  kd wait-gone "$box" 5 || fail "the dialog stayed after button $1"
}
expect_ini() {
  local got
  got=$(ini_get "$1")
  [ "$got" = "$2" ] || fail "$1 is '$got', not '$2'"
}

# The colour dialog opened by button $1 of $box gets red, green, blue $2 $3 $4.
choose_color() {
  local chooser
  kd answer "$box" "$1" >/dev/null
  chooser=$(kd wait-dialog "$pid" Color 10) || fail "button $1 opened no colour dialog"
  sleep 0.3
  kd set-text "$chooser" 706 "$2" >/dev/null
  kd set-text "$chooser" 707 "$3" >/dev/null
  kd set-text "$chooser" 708 "$4" >/dev/null
  kd answer "$chooser" 1 >/dev/null
  kd wait-gone "$chooser" 5 || fail "the colour dialog stayed"
  sleep 0.3
}

# A capture of kprobe's 64 x 48 pattern in a new image window.
capture_pattern() {
  probe pattern 0 0 64 48 900 >/dev/null &
  pids+=($!)
  kd wait-window KaptureProbePattern - 10 >/dev/null || fail "no pattern window"
  sleep 0.5
  local before
  before=$(kd mdi-children "$frame" | grep -c . || true)
  kd hotkey "$frame" 1 c
  wait_children $((before + 1))
}

# Closes the pattern windows, then ends the program.
finish_case() {
  local window
  for window in $(kd wait-window KaptureProbePattern - 0.1 2>/dev/null); do kd close "$window" >/dev/null || true; done
  exit_kaptura
}

# The caption band of window $1 (its top 24 rows).
caption_band() {
  local l t r b
  read -r l t r b <<< "$(window_rect "$1")"
  echo "$l" "$t" "$r" "$((t + 24))"
}
# How many strip buttons $3 screenshot $1 shows on window $2's caption.
glyph_count() {
  python3 - "$here" "$shots/$1.rgb" $(caption_band "$2") "$3" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from caption_check import GLYPHS
data = open(sys.argv[2], "rb").read()
x0, y0, x1, y1 = (int(v) for v in sys.argv[3:7])
rows = GLYPHS[sys.argv[7]]
black = lambda x, y: data[3 * (y * 1280 + x):3 * (y * 1280 + x) + 3] == bytes(3)
print(sum(1 for y in range(y0, y1 - 6) for x in range(x0, x1 - 6)
          if all(black(x + gx, y + gy) == bool((rows[gy] >> (7 - gx)) & 1) for gy in range(7) for gx in range(7))))
PY
}
# Whether screenshot $1 shows the strip button $3 on window $2's caption.
has_button() { caption glyph "$shots/$1.rgb" 1280 $(caption_band "$2") "$3" >/dev/null; }

case_snapshot_buttons() {
  start_options "SnapshotButton=1,1,1,0,1,1,0" "ButtonColors=0" "Clock=0,0,0,0,1,1,0,0,0,0,255"
  open_dialog 32813 "Snapshot Buttons"
  sleep 1
  screenshot snap-open
  window_shot snap-open "$box"
  has_button snap-open "$box" S || fail "no strip on the dialog's caption"
  if has_button snap-open "$box" F; then fail "a Freehand button while it is off"; fi
  # Ticking Freehand puts it on the strip at once; the file keeps it off.
  click 1713
  sleep 1
  screenshot snap-freehand
  window_shot snap-freehand "$box"
  has_button snap-freehand "$box" F || fail "ticking Freehand did not show its button"
  expect_ini SnapshotButton 1,1,1,0,1,1,0
  # Another window comes to the front meanwhile and gets the wider strip;
  # Cancel leaves it the stored one, with nothing of the wider one left.
  (kwine notepad >/dev/null 2>&1 &)
  local notepad
  notepad=$(kd wait-window Notepad - 20) || fail "no Notepad window"
  sleep 1.5
  screenshot snap-notepad
  has_button snap-notepad "$notepad" F || fail "Notepad's strip has no Freehand button"
  optprobe foreground | grep -q "^$notepad " || fail "Notepad is not in front"
  close_with 2
  sleep 1.5
  screenshot snap-cancelled
  if has_button snap-cancelled "$notepad" F; then fail "Cancel left Freehand on the strip"; fi
  [ "$(glyph_count snap-cancelled "$notepad" S)" = 1 ] || fail "the wider strip left a button behind"
  expect_ini SnapshotButton 1,1,1,0,1,1,0
  expect_ini ButtonColors 0
  kd close "$notepad" >/dev/null 2>&1 || true
  # Default then Cancel changes nothing either.
  open_dialog 32813 "Snapshot Buttons"
  click 1713
  kd answer "$box" 1736 >/dev/null
  sleep 0.3
  [ "$(checked 1713)" = 0 ] && [ "$(checked 1735)" = 1 ] || fail "Default did not set the boxes"
  close_with 2
  expect_ini SnapshotButton 1,1,1,0,1,1,0
  # OK: Screen off, Hide in Capture on, a red face.
  open_dialog 32813 "Snapshot Buttons"
  click 1710
  click 1735
  choose_color 1737 255 0 0
  sleep 1
  screenshot snap-red
  window_shot snap-red "$box"
  local band red
  band=$(caption_band "$box")
  # shellcheck disable=SC2086
  red=$(caption count "$shots/snap-red.rgb" 1280 $band 255 0 0)
  [ "${red:-0}" -gt 50 ] || fail "the strip's face is not red: $red red pixels in the caption band $band"
  close_with 1
  expect_ini SnapshotButton 0,1,1,0,1,1,1
  expect_ini ButtonColors 255
  # The system's button face chosen again is stored as 0.
  open_dialog 32813 "Snapshot Buttons"
  # shellcheck disable=SC2046
  choose_color 1737 $(optprobe syscolor 15)
  close_with 1
  expect_ini ButtonColors 0
  exit_kaptura
}

# The preview line of $box in screenshot $1, as a file of its own.
preview_of() {
  local l t r b
  read -r l t r b <<< "$(window_rect "$(kd item "$box" 1460)")"
  convert-im6.q16 "$shots/$1.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "rgb:$shots/$1-preview.rgb"
}

case_clock() {
  start_options "Clock=1,0,1,0,1,1,0,0,0,0,255"
  open_dialog 32812 "Kaptura Clock"
  screenshot clock-a
  window_shot clock-a "$box"
  preview_of clock-a
  sleep 1.1
  screenshot clock-b
  preview_of clock-b
  cmp -s "$shots/clock-a-preview.rgb" "$shots/clock-b-preview.rgb" && fail "the preview did not change within a second"
  [ "$(wc -c < "$shots/clock-a-preview.rgb")" -gt 0 ] || fail "no preview line"
  grep -q "$(printf '\xff\x00\x00')" "$shots/clock-b-preview.rgb" || fail "the preview is not in the clock's red"
  # The controls follow their boxes.
  [ "$(enabled 1469)" = 0 ] || fail "the date formats are enabled without Date"
  click 1464
  [ "$(enabled 1466)" = 0 ] || fail "AM/PM is enabled on the 24-hour clock"
  click 1461
  [ "$(enabled 1465)" = 0 ] || fail "Seconds is enabled without Time"
  # Neither time nor date: "Clock is off." stands still.
  sleep 0.3
  screenshot clock-off-a
  window_shot clock-off-a "$box"
  preview_of clock-off-a
  sleep 1.1
  screenshot clock-off-b
  preview_of clock-off-b
  cmp -s "$shots/clock-off-a-preview.rgb" "$shots/clock-off-b-preview.rgb" || fail "the preview changes with the clock off"
  close_with 2
  expect_ini Clock 1,0,1,0,1,1,0,0,0,0,255
  # OK: time and date, no hiding, 24 hours without seconds, DMY, "-",
  # century, blue.
  open_dialog 32812 "Kaptura Clock"
  click 1462
  click 1477
  click 1464
  click 1465
  click 1470
  click 1474
  click 1476
  [ "$(enabled 1469)" = 1 ] || fail "the date formats stay disabled with Date"
  choose_color 1481 0 0 255
  screenshot clock-set
  window_shot clock-set "$box"
  close_with 1
  expect_ini Clock 1,1,0,1,0,1,0,1,1,1,16711680
  # The caption clock takes the new colour at once.
  sleep 1.5
  screenshot clock-caption
  [ "$(caption count "$shots/clock-caption.rgb" 1280 $(caption_band "$(optprobe foreground | cut -d' ' -f1)") 0 0 255)" -gt 20 ] ||
    fail "the caption clock is not blue after OK"
  # Default and OK.
  open_dialog 32812 "Kaptura Clock"
  kd answer "$box" 1480 >/dev/null
  sleep 0.3
  close_with 1
  expect_ini Clock 1,0,1,0,1,1,0,0,0,0,16777215
  exit_kaptura
}

case_black_white() {
  start_options "BlackWhite=1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"
  capture_pattern
  open_dialog 32799 "Black and White"
  sleep 1
  screenshot bw
  window_shot bw "$box"
  # Row 9's swatch is red, row 0's radio says White.
  local l t r b
  read -r l t r b <<< "$(window_rect "$(kd item "$box" 109)")"
  convert-im6.q16 "$shots/bw.png" -crop "1x1+$(((l + r) / 2))+$(((t + b) / 2))" -depth 8 "rgb:$shots/bw-swatch.rgb"
  [ "$(od -An -tu1 "$shots/bw-swatch.rgb" | tr -s ' ')" = " 255 0 0" ] || fail "the red swatch is not red"
  [ "$(checked 1864)" = 1 ] && [ "$(checked 1863)" = 0 ] || fail "row 0 does not show White"
  click 1863
  close_with 2
  expect_ini BlackWhite 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1
  [ "$(kd mdi-children "$frame" | grep -c .)" = 1 ] || fail "a cancelled Black and White converted"
  open_dialog 32799 "Black and White"
  kd answer "$box" 1895 >/dev/null
  sleep 0.3
  [ "$(checked 1878)" = 1 ] && [ "$(checked 1877)" = 0 ] || fail "Default did not make gray white"
  close_with 1
  expect_ini BlackWhite 0,0,0,0,0,0,0,1,1,0,1,1,0,0,1,1
  wait_children 2
  kd mdi-children "$frame" | head -1 | grep -qx "Black and White" || fail "OK did not convert"
  finish_case
}

case_frame() {
  start_options "Frame=1,0,255,65280"
  capture_pattern
  # Cancel frames nothing.
  open_dialog 32788 Frame
  screenshot frame-dialog
  window_shot frame-dialog "$box"
  close_with 2
  sleep 0.5
  [ "$(kd mdi-children "$frame" | grep -c .)" = 1 ] || fail "a cancelled Frame framed"
  expect_ini Frame 1,0,255,65280
  # Out of range: the dialog says so and stays.
  open_dialog 32788 Frame
  kd set-text "$box" 1692 0 >/dev/null
  kd answer "$box" 1 >/dev/null
  local message=""
  for _ in $(seq 20); do
    message=$(kd wait-dialog "$pid" - 5)
    [ "$message" != "$box" ] && break
    sleep 0.25
  done
  kd dialog-text "$message" | grep -q "between 1 and 2000" || fail "no range message"
  kd answer "$message" 1 >/dev/null
  kd wait-gone "$message" 5
  # 7 blue frame pixels, then 3 of the green mat.
  kd set-text "$box" 1692 7 >/dev/null
  kd set-text "$box" 1693 3 >/dev/null
  choose_color 1688 0 0 255
  screenshot frame-set
  window_shot frame-set "$box"
  close_with 1
  expect_ini Frame 7,3,16711680,65280
  wait_children 2
  kd mdi-children "$frame" | head -1 | grep -qx Frame || fail "OK did not open the framed image"
  kd command "$frame" 32778 >/dev/null
  probe clipboard-save "$shots/framed.bmp" || fail "no framed bitmap"
  python3 - "$here" "$shots/framed.bmp" <<'PY' || fail "the border is not 7 frame then 3 mat pixels"
import sys
sys.path.insert(0, sys.argv[1])
import bmp_check as b
bmp = b.Bitmap(sys.argv[2])
assert (bmp.width, bmp.height) == (84, 68), (bmp.width, bmp.height)
want = [(0, 0, 255)] * 7 + [(0, 255, 0)] * 3
for y in (0, 5, 34, 67):
    for x in range(84):
        edge = min(x, 83 - x, y, 67 - y)
        if edge < 10:
            assert tuple(bmp.at(x, y)) == want[edge], (x, y, bmp.at(x, y))
for x in range(10):
    assert tuple(bmp.at(x, 34)) == want[x] and tuple(bmp.at(83 - x, 34)) == want[x], x
assert tuple(bmp.at(10, 34)) not in want, "the image starts inside the mat"
PY
  finish_case
}

explorer_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
# Shell folder value $1 names folder $2 (Wine writes "Shell Folders" again
# from "User Shell Folders", so both).
set_shell_folder() {
  local path
  path=$(kwine winepath -w "$2" | tr -d '\r')
  kwine reg add "$explorer_key\User Shell Folders" /v "$1" /d "$path" /f >/dev/null 2>&1
  kwine reg add "$explorer_key\Shell Folders" /v "$1" /d "$path" /f >/dev/null 2>&1
}
case_setup() {
  # The shell folders lie in the case's folder.
  mkdir -p "$case_dir/desktop" "$case_dir/startup"
  set_shell_folder Desktop "$case_dir/desktop"
  set_shell_folder StartUp "$case_dir/startup"
  start_options "RunMode=0,0,0,1,0,0,0,0,1"
  open_dialog 32810 "Kaptura Setup"
  screenshot setup-open
  window_shot setup-open "$box"
  [ "$(visible 1157)" = 0 ] && [ "$(visible 1158)" = 0 ] || fail "desktop icons shown while unticked"
  [ "$(visible 1165)" = 0 ] || fail "the small Desktop box shows"
  click 1161
  [ "$(visible 1158)" = 1 ] || fail "ticking Pixorama did not show its icon"
  click 1161
  [ "$(visible 1158)" = 0 ] || fail "unticking Pixorama did not hide its icon"
  click 1154
  sleep 0.3
  screenshot setup-tray
  window_shot setup-tray "$box"
  cmp -s "$shots/setup-open-window.png" "$shots/setup-tray-window.png" && fail "the tray picture did not change"
  click 1154
  close_with 2
  expect_ini RunMode 0,0,0,1,0,0,0,0,1
  # Start-up link, Kaptura and Morfix on the desktop.
  open_dialog 32810 "Kaptura Setup"
  click 1151
  click 1160
  click 1162
  [ "$(visible 1157)" = 1 ] && [ "$(visible 1159)" = 1 ] || fail "the ticked icons did not show"
  screenshot setup-set
  window_shot setup-set "$box"
  close_with 1
  sleep 1
  expect_ini RunMode 1,0,0,1,0,1,0,1,1
  local link
  for link in startup/Kaptura99 desktop/Kaptura99 desktop/Morfix99; do
    [ -f "$case_dir/$link.lnk" ] || fail "no $link.lnk"
  done
  [ ! -e "$case_dir/desktop/Pixorama99.lnk" ] || fail "an unwanted Pixorama99.lnk"
  optprobe link-target "$(kwine winepath -w "$case_dir/desktop/Morfix99.lnk" | tr -d '\r')" | grep -qi 'Morfix99.exe$' ||
    fail "Morfix99.lnk does not lead to Morfix99.exe"
  optprobe link-target "$(kwine winepath -w "$case_dir/startup/Kaptura99.lnk" | tr -d '\r')" | grep -qi 'Kaptura99.exe$' ||
    fail "the start-up link does not lead to Kaptura99.exe"
  # Unticked again: the links go, Morfix's stays.
  open_dialog 32810 "Kaptura Setup"
  click 1151
  click 1160
  close_with 1
  sleep 1
  [ ! -e "$case_dir/startup/Kaptura99.lnk" ] && [ ! -e "$case_dir/desktop/Kaptura99.lnk" ] ||
    fail "the unticked links stayed"
  [ -f "$case_dir/desktop/Morfix99.lnk" ] || fail "Morfix99.lnk went"
  # Without a desktop folder the links cannot be made: nothing breaks.
  kwine reg delete "$explorer_key\User Shell Folders" /v Desktop /f >/dev/null 2>&1
  kwine reg delete "$explorer_key\Shell Folders" /v Desktop /f >/dev/null 2>&1
  open_dialog 32810 "Kaptura Setup"
  click 1161
  close_with 1
  sleep 1
  kd title "$frame" >/dev/null || fail "the program ended without a desktop folder"
  expect_ini RunMode 0,0,0,1,0,0,1,1,1
  exit_kaptura
}

case_image_info() {
  # "Display Image Info" after a capture.
  start_options "CapturePage=1,0,0,1,0"
  capture_pattern
  box=$(kd wait-dialog "$pid" "Image Info" 10) || fail "no Image Info after the capture"
  sleep 0.3
  screenshot info
  window_shot info "$box"
  local text
  text=$(kd dialog-text "$box")
  for line in "Screen Capture" 64 48 "16.8M" "KB"; do
    grep -qx -- "$line.*" <<< "$text" || grep -q -- "$line" <<< "$text" || fail "Image Info lacks $line: $text"
  done
  close_with 1
  # And from the Edit menu.
  open_dialog 32783 "Image Info"
  kd dialog-text "$box" | grep -qx "Screen Capture" || fail "Edit > Image Info shows another name"
  close_with 1
  finish_case
}

case_image_info_path() {
  # An image opened from the folder-tree bar is titled with its whole path:
  # the Filename field shortens the folders and shows the file's name whole.
  local data="$case_dir/data" folder="Screenshots from the design\second review of the harbour"
  mkdir -p "$data/${folder//\\//}/notes"
  convert-im6.q16 -size 64x48 gradient:red-blue -type TrueColor "BMP3:$data/${folder//\\//}/harbour at dusk.bmp"
  ln -sfn "$data" "$WINEPREFIX/dosdevices/m:"
  start_options "Session=0,0,1,190,1,0,16777215,16777215"
  local tree
  tree=$(kd children "$frame" | awk -F'\t' '$2 == "SysTreeView32" { print $1; exit }')
  [ -n "$tree" ] || fail "no folder tree"
  # Folders come first: Down from "notes" selects the image as a user does.
  kd tree-select "$tree" "My Computer\\M:\\$folder\\notes" >/dev/null || fail "no folder $folder in the tree"
  kd post "$tree" 0x100 0x28 0 >/dev/null   # WM_KEYDOWN, Down
  wait_children 1
  open_dialog 32783 "Image Info"
  screenshot info-path
  window_shot info-path "$box"
  kd dialog-text "$box" | grep -qxF "M:\\$folder\\harbour at dusk.bmp" || fail "Image Info names another file"
  close_with 1
  exit_kaptura
}

case_about() {
  start_options
  open_dialog 57664 "About Kaptura 99"
  local text
  text=$(kd dialog-text "$box")
  grep -qx "1024x768" <<< "$text" || fail "no resolution line: $text"
  grep -qx "Version 5.0" <<< "$text" || fail "no version: $text"
  grep -qx "16.8M" <<< "$text" || fail "no colour mode: $text"
  # It answers while its logo animates (an animation that waited out each
  # step in a loop would hold every message for a second and a half), and
  # the logo changes. A loaded machine may hold a message a few hundred ms.
  local slowest
  slowest=$(optprobe latency "$box" 3) || fail "the About box did not answer"
  [ "$slowest" -lt 1000 ] || fail "the About box took $slowest ms to answer"
  local shot same=1
  for shot in 1 2 3 4; do
    screenshot "about-$shot"
    sleep 0.35
  done
  window_shot about-1 "$box"
  for shot in 2 3 4; do
    cmp -s "$shots/about-1.rgb" "$shots/about-$shot.rgb" || same=0
  done
  [ "$same" = 0 ] || fail "the logo does not animate"
  close_with 1
  exit_kaptura
}

case_clamped_values() {
  # Stored values out of range open in range (and go back so on OK).
  start_options "Frame=5000,-4,255,65280" "Clock=1,0,1,7,1,1,0,9,-3,0,255" "RunMode=5,0,0,1,0,-2,0,0,1"
  open_dialog 32812 "Kaptura Clock"
  [ "$(checked 1463)" = 1 ] && [ "$(checked 1469)" = 1 ] && [ "$(checked 1473)" = 1 ] ||
    fail "the out-of-range clock formats did not open as the first choices"
  close_with 1
  expect_ini Clock 1,0,1,0,1,1,0,0,0,0,255
  open_dialog 32810 "Kaptura Setup"
  [ "$(checked 1151)" = 1 ] && [ "$(checked 1160)" = 1 ] || fail "the stored flags did not open ticked"
  close_with 2
  capture_pattern
  open_dialog 32788 Frame
  close_with 1
  expect_ini Frame 2000,0,255,65280
  finish_case
}

name=${1:?case name}
"case_$name"
# The dialogs' pictures stay for looking at.
mkdir -p "$E2E_ROOT/options-shots"
for picture in "$shots"/*-window.png; do
  [ -f "$picture" ] && cp "$picture" "$E2E_ROOT/options-shots/"
done
echo "PASS: $name"
