#!/usr/bin/env bash
# End-to-end cases of the folder-tree bar and the Open and Save As dialogs
# under Wine: filedialogs_e2e.sh <case>. The bar lists drive M:, mapped to
# the case's fixture folder; the dialogs are the system's, driven by kdriver;
# ImageMagick judges the files written and the preview's pixels.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

IM=/usr/bin
FileOpen=57601
FileSaveAs=57604
DeleteImage=32782
FileNameBox=0x47c      # the explorer-style dialog's name field (1148)
FileTypeBox=0x470      # its file type list
PreviewCheck=1128
PreviewPane=1129
SizeLine=1130
PathLine=1131
WM_KEYDOWN=0x100
VK_DELETE=0x2e
VK_DOWN=0x28
VK_LEFT=0x25
VK_RIGHT=0x27

data="$case_dir/data"
mkdir -p "$data"
ln -sfn "$data" "$WINEPREFIX/dosdevices/m:"
shots="$case_dir/shots"
mkdir -p "$shots"
# Screenshots stay for a look after the run.
keep="${E2E_ROOT}/filedialogs-shots"
mkdir -p "$keep"

# The Windows path of a file in the case's program folder.
winpath() { echo "Z:${app//\//\\}\\$1"; }
shoot() { $IM/import-im6.q16 -window root "$shots/$1.png" && cp "$shots/$1.png" "$keep/$1.png"; }

# Answers the next message box of the program with a button and prints its text.
answer_box() {
  local pid box
  pid=$(kd window-pid "$frame")
  box=$(kd wait-dialog "$pid" "$1" 10) || fail "no \"$1\" box"
  kd dialog-text "$box"
  kd answer "$box" "$2" >/dev/null
  kd wait-gone "$box" 10 >/dev/null || fail "the \"$1\" box stayed"
}

# No message box of the program for a second.
no_box() {
  local pid
  pid=$(kd window-pid "$frame")
  ! kd wait-dialog "$pid" - 1 >/dev/null 2>&1 || fail "$1"
}

explorer_tree() {
  tree=$(kd children "$frame" | awk -F'\t' '$2 == "SysTreeView32" { print $1; exit }')
  [ -n "$tree" ] || fail "no folder tree"
}

# Selects the item after the one at path with the Down key, as a user would.
key_select_after() {
  kd tree-select "$tree" "$1" >/dev/null || fail "no tree item $1"
  kd post "$tree" $WM_KEYDOWN $VK_DOWN 0 >/dev/null
}

wait_file_gone() {
  for _ in $(seq 40); do [ ! -e "$1" ] && return 0; sleep 0.25; done
  fail "$1 is still there"
}

case_explorer_bar() {
  seed_ini "Session=0,0,1,190,1,0,16777215,16777215"
  mkdir -p "$data/b" "$data/A" "$data/A/deeper"
  $IM/convert-im6.q16 -size 30x20 xc:red BMP3:"$data/z.bmp"
  $IM/convert-im6.q16 -size 12x10 xc:blue GIF:"$data/a.GIF"
  $IM/convert-im6.q16 -size 8x8 xc:green BMP3:"$data/b/in_b.bmp"
  echo notes > "$data/notes.txt"
  start_kaptura
  explorer_tree
  kd tree-items "$tree" "My Computer" | grep -qx "C:" || fail "drive C: not listed"
  kd tree-items "$tree" "My Computer" | grep -qx "M:" || fail "the mapped drive M: not listed"
  ! kd tree-items "$tree" "My Computer" | grep -qx "A:" || fail "drive A: listed"
  # Folders first, then image files, each by name without regard to case.
  [ "$(kd tree-items "$tree" "My Computer\\M:" | tr '\n' ' ')" = "A b a.GIF z.bmp " ] \
    || fail "M: lists: $(kd tree-items "$tree" "My Computer\\M:" | tr '\n' ' ')"
  shoot explorer_bar
  # A folder or drive selected by the user opens nothing; an image file opens once.
  key_select_after "My Computer\\M:\\A"      # b
  sleep 0.5
  wait_children 0
  key_select_after "My Computer\\M:\\a.GIF"  # z.bmp
  wait_children 1
  [ "$(kd mdi-children "$frame")" = "M:\\z.bmp" ] || fail "window title: $(kd mdi-children "$frame")"
  wait_status 1 "30w x 20h"
  # Del asks about the image's file and removes exactly it.
  kd post "$tree" $WM_KEYDOWN $VK_DELETE 0 >/dev/null
  answer_box - 6 | grep -q 'remove file M:\\z.bmp from the hard drive' || fail "no question about z.bmp"
  wait_file_gone "$data/z.bmp"
  [ -e "$data/a.GIF" ] && [ -e "$data/b/in_b.bmp" ] || fail "another file went"
  ! kd tree-items "$tree" "My Computer\\M:" | grep -qx "z.bmp" || fail "z.bmp still in the tree"
  kd mdi-children "$frame" | grep -qx "Unsaved Image" || fail "title after delete: $(kd mdi-children "$frame")"
  # A file that cannot be deleted is reported, and stays, in the tree too.
  key_select_after "My Computer\\M:\\b"      # a.GIF
  wait_children 2
  chmod a-w "$data/a.GIF"
  kd post "$tree" $WM_KEYDOWN $VK_DELETE 0 >/dev/null
  answer_box - 6 >/dev/null
  answer_box - 1 | grep -q 'could not be removed' || fail "the failed delete was not reported"
  [ -e "$data/a.GIF" ] || fail "a.GIF went"
  kd tree-items "$tree" "My Computer\\M:" | grep -qx "a.GIF" || fail "a.GIF left the tree"
  chmod u+w "$data/a.GIF"
  # With a folder selected, Delete Image refuses.
  kd tree-select "$tree" "My Computer\\M:\\A" >/dev/null
  kd post-command "$frame" $DeleteImage >/dev/null
  answer_box - 1 | grep -q "You can't delete folders in Kaptura Explorer." || fail "no refusal for a folder"
  [ -e "$data/a.GIF" ] || fail "a.GIF went with a folder selected"
  # Expanding a folder reads it again from disk.
  $IM/convert-im6.q16 -size 5x5 xc:white PNG:"$data/new.png"
  kd tree-select "$tree" "My Computer\\M:" >/dev/null
  kd post "$tree" $WM_KEYDOWN $VK_LEFT 0 >/dev/null
  kd post "$tree" $WM_KEYDOWN $VK_RIGHT 0 >/dev/null
  sleep 1
  kd tree-items "$tree" "My Computer\\M:" | grep -qx "new.png" || fail "the new file is not listed"
  # The bar's width and its selected file are kept across runs.
  key_select_after "My Computer\\M:\\b"      # a.GIF
  wait_children 2
  exit_kaptura
  [ "$(ini_get Session | cut -d, -f4)" = 190 ] || fail "Session value 4: $(ini_get Session)"
  [ "$(ini_get DlgBarFileName)" = "M:\\a.GIF" ] || fail "DlgBarFileName: $(ini_get DlgBarFileName)"
  start_kaptura
  wait_children 1
  [ "$(kd mdi-children "$frame")" = "M:\\a.GIF" ] || fail "not reopened: $(kd mdi-children "$frame")"
  exit_kaptura
}

# Opens the Open dialog; sets $dialog, its added child $extra and its file list $list.
open_dialog() {
  local pid
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" $FileOpen >/dev/null
  dialog=$(kd wait-dialog "$pid" - 10) || fail "no Open dialog"
  extra=$(kd children "$dialog" | awk -F'\t' '$2 == "#32770" { print $1; exit }')
  [ -n "$extra" ] || fail "the Open dialog has no preview part"
  for _ in $(seq 20); do
    list=$(kd children "$dialog" | awk -F'\t' '$2 == "SysListView32" { print $1; exit }')
    [ -n "$list" ] && break
    sleep 0.25
  done
  [ -n "$list" ] || fail "no file list"
}
item_text() { kd title "$(kd item "$extra" "$1")"; }
# Selects a file in the dialog's list as a click would, and waits for its size line.
preview_file() {
  kd list-select "$list" "$1" >/dev/null || fail "$1 is not listed"
  for _ in $(seq 40); do
    [ "$(item_text $SizeLine)" = "$2" ] && return 0
    sleep 0.1
  done
  fail "size line for $1: '$(item_text $SizeLine)', not '$2'"
}
confirm_name() {
  [ -z "${1:-}" ] || kd set-text "$dialog" $FileNameBox "$1" >/dev/null
  kd answer "$dialog" 1 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Open dialog stayed"
}
window_width() { probe window-rect "$1" | awk '{ print $3 - $1 }'; }

# The pane shows the image scaled into its box: a 200 x 100 picture, red on
# the left, blue on the right, drawn 130 wide in a square box of white.
check_preview_pixels() {
  local pane left top right bottom
  pane=$(kd item "$extra" $PreviewPane)
  read -r left top right bottom <<< "$(probe window-rect "$pane")"
  shoot "$1"
  python3 - "$shots/$1.png" "$left" "$top" "$right" "$bottom" <<'PY' || fail "the preview's pixels are wrong"
import subprocess, sys
shot, left, top, right, bottom = sys.argv[1], *map(int, sys.argv[2:])
w, h = right - left, bottom - top
raw = subprocess.run(["/usr/bin/convert-im6.q16", shot, "-crop", f"{w}x{h}+{left}+{top}", "+repage", "rgb:-"],
                     capture_output=True, check=True).stdout
px = lambda x, y: tuple(raw[3 * (y * w + x): 3 * (y * w + x) + 3])
# Inside the pane's 1-pixel edge, a box of side (width - 2) - 4.
box = (w - 2) - 4
scaled = box * 100 // 200
x0, y0 = 1 + 3, 1 + (box - scaled) // 2 + 2
near = lambda a, b: all(abs(p - q) <= 40 for p, q in zip(a, b))
checks = [((x0 + box // 4, y0 + scaled // 2), (255, 0, 0)), ((x0 + 3 * box // 4, y0 + scaled // 2), (0, 0, 255)),
          ((x0 + box // 2, 1 + 2), (255, 255, 255)), ((x0 + box // 2, h - 4), (255, 255, 255))]
bad = [(at, px(*at), want) for at, want in checks if not near(px(*at), want)]
print("pane", w, "x", h, "box", box, "bad", bad)
sys.exit(1 if bad else 0)
PY
}

case_open_preview() {
  seed_ini "Format=14,1,1,1,0" "PathNameOpen=Z:${app//\//\\}"
  $IM/convert-im6.q16 -size 100x100 xc:red -size 100x100 xc:blue +append BMP3:"$app/wide.bmp"
  $IM/convert-im6.q16 -size 33x44 xc:green BMP3:"$app/other.bmp"
  $IM/convert-im6.q16 -size 1234x10 xc:gray BMP3:"$app/big.bmp"
  start_kaptura
  open_dialog
  [ "$(kd title "$(kd item "$extra" $PreviewCheck)")" = Preview ] || fail "no Preview box"
  preview_file wide.bmp "200w x 100h"
  item_text $PathLine | grep -q 'wide.bmp   (60,054 Bytes)' || fail "path line: $(item_text $PathLine)"
  check_preview_pixels open_preview
  # The file changes on disk after the preview: OK opens the previewed image.
  $IM/convert-im6.q16 -size 7x7 xc:yellow BMP3:"$app/wide.bmp"
  confirm_name
  wait_children 1
  [ "$(kd mdi-children "$frame")" = "wide.bmp" ] || fail "title: $(kd mdi-children "$frame")"
  wait_status 1 "200w x 100h"
  # A name typed after previewing another file opens the typed file.
  open_dialog
  preview_file big.bmp "1234w x 10h"
  item_text $PathLine | grep -q '(37,' || fail "no thousands in the size: $(item_text $PathLine)"
  confirm_name other.bmp
  wait_children 2
  kd mdi-children "$frame" | grep -qx "other.bmp" || fail "titles: $(kd mdi-children "$frame")"
  wait_status 1 "33w x 44h"
  # Preview off narrows the dialog by 156 pixels; the choice is kept.
  open_dialog
  local wide narrow
  wide=$(window_width "$dialog")
  kd post "$extra" 0x111 $PreviewCheck 0 >/dev/null
  sleep 0.5
  narrow=$(window_width "$dialog")
  [ $((wide - narrow)) = 156 ] || fail "the dialog went from $wide to $narrow pixels"
  kd answer "$dialog" 2 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Open dialog stayed"
  exit_kaptura
  [ "$(ini_get Format | cut -d, -f4)" = 1 ] || fail "the preview flag changed on cancel: $(ini_get Format)"
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
