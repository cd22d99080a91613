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

# Prints the program's box titled $2 (or any, "-"), waiting until one
# shows that is not the file dialog $dialog: that stays up behind its
# questions, and until a question shows it is the program's only box.
box_over_dialog() {
  local pid=$1 title=$2 box deadline=$((SECONDS + 10 * E2E_WAIT_SCALE))
  while box=$(kd wait-dialog "$pid" "$title" 10); do
    [ "$box" = "${dialog:-}" ] || { echo "$box"; return 0; }
    [ $SECONDS -lt $deadline ] || break
    sleep 0.1
  done
  return 1
}
# Answers the next message box of the program with a button and prints its text.
answer_box() {
  local pid box
  pid=$(kd window-pid "$frame")
  box=$(box_over_dialog "$pid" "$1") || fail "no \"$1\" box"
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
  # The bar is sized at its right edge, never below 80 pixels; its width
  # and its selected file are kept across runs.
  local left top right bottom middle
  read -r left top right bottom <<< "$(window_rect "$tree")"
  middle=$(((top + bottom) / 2))
  kd drag $((right + 2)) $middle $((left + 10)) $middle >/dev/null
  sleep 0.5
  read -r left top right bottom <<< "$(window_rect "$tree")"
  kd drag $((right + 2)) $middle $((right + 62)) $middle >/dev/null
  sleep 0.5
  key_select_after "My Computer\\M:\\b"      # a.GIF
  wait_children 2
  exit_kaptura
  [ "$(ini_get Session | cut -d, -f4)" = 140 ] || fail "Session value 4: $(ini_get Session)"
  [ "$(ini_get DlgBarFileName)" = "M:\\a.GIF" ] || fail "DlgBarFileName: $(ini_get DlgBarFileName)"
  start_kaptura
  wait_children 1
  [ "$(kd mdi-children "$frame")" = "M:\\a.GIF" ] || fail "not reopened: $(kd mdi-children "$frame")"
  exit_kaptura
}

# Opens the Open dialog; sets $dialog, its added child $extra and its file list $list.
open_dialog() {
  kd post-command "$frame" $FileOpen >/dev/null
  open_dialog_shown
}
open_dialog_shown() {
  local pid
  pid=$(kd window-pid "$frame")
  dialog=$(kd wait-dialog "$pid" Open 10) || fail "no Open dialog"
  extra=$(kd children "$dialog" | awk -F'\t' '$2 == "#32770" { print $1; exit }')
  [ -n "$extra" ] || fail "the Open dialog has no preview part: $(kd title "$dialog") $(kd dialog-text "$dialog")"
  for _ in $(seq 20); do
    list=$(kd children "$dialog" | awk -F'\t' '$2 == "SysListView32" { print $1; exit }')
    [ -n "$list" ] && break
    sleep 0.25
  done
  [ -n "$list" ] || fail "no file list"
}
item_text() { kd title "$(kd item "$extra" "$1")"; }
# Waits until the keyboard is in the dialog's name box (the box or the edit
# inside it), as when a user starts typing.
wait_name_focus() {
  local box focus deadline=$((SECONDS + 20))
  box=$(kd item "$dialog" $FileNameBox) || fail "no name box"
  while :; do
    focus=$(kd focus "$dialog")
    [ "$focus" = "$box" ] && return 0
    kd children "$box" | cut -f1 | grep -qx "$focus" && return 0
    [ $SECONDS -lt $deadline ] || fail "the keyboard is on $focus ($(kd title "$focus")), not on the name box"
    sleep 0.2
  done
}
# Types $1 into the focused name box with real keys, then Enter.
type_name() {
  wait_name_focus
  xdotool type --delay 60 "$1"
  xdotool key Return
}
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
window_width() { window_rect "$1" | awk '{ print $3 - $1 }'; }

# The pane shows the image scaled into its box: a 200 x 100 picture, red on
# the left, blue on the right, drawn 130 wide in a square box of white.
check_preview_pixels() {
  local pane left top right bottom
  pane=$(kd item "$extra" $PreviewPane)
  read -r left top right bottom <<< "$(window_rect "$pane")"
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
  texts_whole "$extra" "the Open dialog's preview part"
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
  # The name box has the keyboard when the dialog opens: a name typed with
  # real keys, then Enter, opens that file.
  if have_tool xdotool; then
    $IM/convert-im6.q16 -size 5x6 xc:green BMP3:"$app/keys.bmp"
    open_dialog
    type_name keys.bmp
    kd wait-gone "$dialog" 10 >/dev/null ||
      fail "the typed name did not open: the name box holds '$(kd title "$(kd item "$dialog" $FileNameBox)")'"
    wait_children 3
    wait_status 1 "5w x 6h"
  fi
  # A file in a drive's top folder is previewed too.
  $IM/convert-im6.q16 -size 21x13 xc:red BMP3:"$data/top.bmp"
  open_dialog
  kd set-text "$dialog" $FileNameBox 'M:\' >/dev/null
  kd answer "$dialog" 1 >/dev/null
  # The folder's list is a new window.
  for _ in $(seq 40); do
    list=$(kd children "$dialog" | awk -F'\t' '$2 == "SysListView32" { print $1; exit }')
    [ -n "$list" ] && kd list-rows "$list" | grep -q '^top.bmp' && break
    sleep 0.25
  done
  preview_file top.bmp "21w x 13h"
  item_text $PathLine | grep -qF 'M:\top.bmp ' || fail "path line in M:\\: $(item_text $PathLine)"
  kd answer "$dialog" 2 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Open dialog stayed"
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

case_open_corrupt() {
  seed_ini "Format=14,1,1,1,0" "PathNameOpen=Z:${app//\//\\}"
  printf '\x89PNG\r\n\x1a\nnot really' > "$app/broken.png"
  $IM/convert-im6.q16 -size 9x9 xc:white BMP3:"$app/good.bmp"
  # Paths of 259 characters open; one of 260 is refused, never cut.
  local prefix="Z:${app//\//\\}\\" folder name
  folder=$(printf "d%.0s" $(seq $((259 - ${#prefix} - 6))))
  mkdir -p "$app/$folder"
  $IM/convert-im6.q16 -size 6x5 xc:white BMP3:"$app/$folder/a.bmp"
  $IM/convert-im6.q16 -size 6x5 xc:white BMP3:"$app/$folder/ab.bmp"
  start_kaptura
  open_dialog
  # The message box shows inside the selection, which returns once it is answered.
  kd list-select "$list" broken.png >/dev/null &
  local selecting=$!
  answer_box "Format Error" 1 | grep -q . || fail "the library's message had no text"
  wait "$selecting" || fail "broken.png is not listed"
  [ -z "$(item_text $SizeLine)" ] || fail "size line: $(item_text $SizeLine)"
  shoot open_corrupt
  # OK on the file that could not be read opens nothing and says nothing more.
  confirm_name
  no_box "a second message for the corrupt file"
  wait_children 0
  # The next dialog starts on the remembered file, previewed (and refused)
  # afresh; a good file after it opens as usual.
  kd post-command "$frame" $FileOpen >/dev/null
  answer_box "Format Error" 1 >/dev/null
  open_dialog_shown
  preview_file good.bmp "9w x 9h"
  confirm_name
  wait_children 1
  open_dialog
  confirm_name "$prefix$folder\\a.bmp"
  wait_children 2
  kd mdi-children "$frame" | grep -qx "a.bmp" || fail "the 259-character path did not open"
  open_dialog
  kd set-text "$dialog" $FileNameBox "$prefix$folder\\ab.bmp" >/dev/null
  kd answer "$dialog" 1 >/dev/null
  # Refused by the dialog or by the program, and nothing opens.
  local pid box
  pid=$(kd window-pid "$frame")
  for _ in $(seq 20); do
    box=$(kd wait-dialog "$pid" - 1) || break
    [ "$box" = "$dialog" ] && { kd wait-gone "$dialog" 0.5 >/dev/null && break; continue; }
    kd answer "$box" 1 >/dev/null
  done
  kd wait-gone "$dialog" 1 >/dev/null 2>&1 || kd answer "$dialog" 2 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Open dialog stayed"
  sleep 0.5
  wait_children 2
  exit_kaptura
}

# Save As through the dialog: entry (1-11) chosen in the type list, a name.
save_as() {
  local entry=$1 name=$2 pid
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" $FileSaveAs >/dev/null
  dialog=$(kd wait-dialog "$pid" "Save As" 10) || fail "no Save As dialog"
  if [ -n "$entry" ]; then
    # The dialog takes a type when the list's choice ends (CBN_SELENDOK).
    kd combo-select "$dialog" $FileTypeBox $((entry - 1)) >/dev/null || fail "no type list"
    kd send "$dialog" 0x111 $(((9 << 16) | FileTypeBox)) "$(kd item "$dialog" $FileTypeBox)" >/dev/null
  fi
  kd set-text "$dialog" $FileNameBox "$name" >/dev/null || fail "no name field"
  kd answer "$dialog" 1 >/dev/null
}
saved() {
  for _ in $(seq 40); do [ -s "$app/$1" ] && return 0; sleep 0.25; done
  fail "$1 was not written"
}
# A clipboard file's first entry (a packed DIB) as a bitmap file.
clp_to_bmp() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
ident, count = struct.unpack_from("<HH", data, 0)
fmt, length, offset = struct.unpack_from("<HII", data, 4)
assert ident == 50000 and count >= 1 and fmt == 8, (ident, count, fmt)
dib = data[offset:offset + length]
size, bits, compression, used = struct.unpack_from("<I", dib, 0)[0], struct.unpack_from("<H", dib, 14)[0], \
    struct.unpack_from("<I", dib, 16)[0], struct.unpack_from("<I", dib, 32)[0]
table = 4 * ((used or (1 << bits)) if bits <= 8 else 0) + (12 if compression == 3 else 0)
open(sys.argv[2], "wb").write(b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 14 + size + table) + dib)
PY
}
same_pixels() {
  local got
  got=$($IM/compare-im6.q16 -metric AE "$app/quad.bmp" "$1" null: 2>&1) || true
  [ "$got" = 0 ] || fail "$1 differs from the document in $got pixels"
}

# A lossy file keeps the colour of each quadrant's centre.
quadrant_colours() {
  $IM/convert-im6.q16 "$1" -depth 8 rgb:- | python3 -c '
import sys
raw = sys.stdin.buffer.read()
px = lambda x, y: raw[3 * (y * 40 + x): 3 * (y * 40 + x) + 3]
want = {(10, 7): (255, 0, 0), (30, 7): (0, 255, 0), (10, 22): (0, 0, 255), (30, 22): (255, 255, 0)}
bad = [(at, tuple(px(*at)), c) for at, c in want.items() if any(abs(a - b) > 40 for a, b in zip(px(*at), c))]
print(bad) if bad else None
sys.exit(1 if bad else 0)'
}

# The program with the four-colour picture open, ready for Save As.
start_with_quad() {
  seed_ini "Format=14,1,1,1,1" "PathNameOpen=Z:${app//\//\\}" "FileNameSave=Z:${app//\//\\}\\start.bmp"
  $IM/convert-im6.q16 \( -size 20x15 xc:red xc:lime +append \) \( -size 20x15 xc:blue xc:yellow +append \) \
    -append -type TrueColor BMP3:"$app/quad.bmp"
  start_kaptura
  open_dialog
  confirm_name quad.bmp
  wait_children 1
}

case_save_formats() {
  start_with_quad
  local extensions=(bmp clp dib gif gif jpg pcx png rle tif wpg) entry ext
  for entry in $(seq 11); do
    ext=${extensions[entry - 1]}
    save_as "$entry" "out$entry"
    saved "out$entry.$ext"
    case $ext in
      clp) clp_to_bmp "$app/out$entry.clp" "$app/clp$entry.bmp"; same_pixels "$app/clp$entry.bmp" ;;
      dib | rle) same_pixels "BMP:$app/out$entry.$ext" ;;
      jpg) quadrant_colours "$app/out$entry.jpg" || fail "the JPEG's colours are off" ;;
      *) same_pixels "$app/out$entry.$ext" ;;
    esac
  done
  [ "$($IM/identify-im6.q16 -format '%[interlace]' "$app/out5.gif")" = GIF ] || fail "out5.gif is not interlaced"
  [ "$($IM/identify-im6.q16 -format '%[interlace]' "$app/out4.gif")" = None ] || fail "out4.gif is interlaced"
  exit_kaptura
}

case_save_as_names() {
  start_with_quad
  save_as 8 out8
  saved out8.png
  # The typed extension wins over the chosen entry.
  save_as 1 caps.PNG
  saved caps.PNG
  [ "$($IM/identify-im6.q16 -format '%m' "$app/caps.PNG")" = PNG ] || fail "caps.PNG is not a PNG"
  # An unknown extension writes nothing.
  save_as 1 x.abc
  answer_box - 1 | grep -qx "Unrecognized format." || fail "no Unrecognized format."
  sleep 0.5
  [ ! -e "$app/x.abc" ] && [ ! -e "$app/x.abc.bmp" ] && [ ! -e "$app/x.txt" ] || fail "something was written for x.abc"
  # An existing file is confirmed by the system's prompt first.
  local before
  before=$(stat -c %Y "$app/out8.png")
  sleep 1
  save_as 8 out8.png
  local pid box
  pid=$(kd window-pid "$frame")
  box=$(box_over_dialog "$pid" -) || fail "no overwrite prompt"
  shoot save_overwrite
  kd dialog-text "$box" | grep -qi "exist" || fail "prompt: $(kd dialog-text "$box")"
  kd answer "$box" 6 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Save As dialog stayed"
  for _ in $(seq 20); do [ "$(stat -c %Y "$app/out8.png")" != "$before" ] && break; sleep 0.25; done
  [ "$(stat -c %Y "$app/out8.png")" != "$before" ] || fail "out8.png was not written again"
  # A bare name whose file (with the entry's extension) exists is confirmed
  # too; No keeps the dialog open and the file as it was.
  before=$(stat -c %Y "$app/out8.png")
  save_as 8 out8
  box=$(box_over_dialog "$pid" -) || fail "no question for the bare name"
  kd dialog-text "$box" | grep -q "out8.png already exists" || fail "question: $(kd dialog-text "$box")"
  kd answer "$box" 7 >/dev/null
  kd wait-gone "$box" 10 >/dev/null || fail "the question stayed"
  [ "$(kd visible "$dialog")" = 1 ] || fail "No closed the Save As dialog"
  kd answer "$dialog" 2 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Save As dialog stayed"
  [ "$(stat -c %Y "$app/out8.png")" = "$before" ] || fail "out8.png was written after No"
  # The dialog as a user sees it, on the entry chosen last.
  local pid2
  pid2=$(kd window-pid "$frame")
  kd post-command "$frame" $FileSaveAs >/dev/null
  dialog=$(kd wait-dialog "$pid2" - 10) || fail "no Save As dialog"
  sleep 0.5
  shoot save_as
  # The name box has the keyboard: a name typed with real keys, then
  # Enter, saves under that name in the chosen entry's format.
  if have_tool xdotool; then
    type_name typed
    kd wait-gone "$dialog" 10 >/dev/null ||
      fail "the typed name did not save: the name box holds '$(kd title "$(kd item "$dialog" $FileNameBox)")'"
    saved typed.png
  else
    kd answer "$dialog" 2 >/dev/null
    kd wait-gone "$dialog" 10 >/dev/null || fail "the Save As dialog stayed"
  fi
  exit_kaptura
  [ "$(ini_get Format | cut -d, -f2)" = 8 ] || fail "Format value 2: $(ini_get Format)"
  [ "$(ini_get Format | cut -d, -f5)" = 1 ] || fail "Format value 5: $(ini_get Format)"
}

# A read-only file is not replaced: after the overwrite prompt the library's
# refusal comes up, and the file keeps its content and its mark.
case_save_readonly() {
  seed_ini "Format=14,1,1,1,1" "PathNameOpen=Z:${app//\//\\}" "FileNameSave=Z:${app//\//\\}\\start.bmp"
  $IM/convert-im6.q16 -size 20x15 xc:red BMP3:"$app/red.bmp"
  printf old > "$app/locked.png"
  chmod 0444 "$app/locked.png"
  start_kaptura
  open_dialog
  confirm_name red.bmp
  wait_children 1
  save_as 8 locked.png
  local pid box
  pid=$(kd window-pid "$frame")
  box=$(box_over_dialog "$pid" -) || fail "no overwrite prompt"
  kd dialog-text "$box" | grep -qi "exist" || fail "prompt: $(kd dialog-text "$box")"
  # Save As stays under its prompt, with its added check box.
  texts_whole "$(kd children "$dialog" | awk -F'\t' '$2 == "#32770" { print $1; exit }')" "the Save As dialog's added part"
  kd answer "$box" 6 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the Save As dialog stayed"
  local refusal
  refusal=$(answer_box "Format Error" 1)
  grep -q "Cannot create this file." <<<"$refusal" || fail "refusal: $refusal"
  [ "$(cat "$app/locked.png")" = old ] || fail "locked.png was rewritten"
  [ "$(stat -c %a "$app/locked.png")" = 444 ] || fail "locked.png lost its read-only mark"
  chmod u+w "$app/locked.png"
  exit_kaptura
}

case_capture_prompt_filename() {
  local folder="Z:${app//\//\\}"
  seed_ini "SendtoPage=0,1,0,0,1,1" "FileNameDirect=$folder\\cap.bmp" "Format=14,1,8,1,0"
  start_kaptura
  local pid
  pid=$(kd window-pid "$frame")
  kd hotkey "$frame" 1 c >/dev/null &
  local capturing=$!
  dialog=$(kd wait-dialog "$pid" "Save As" 20) || fail "no Save As dialog for the capture"
  sleep 0.5
  shoot save_as_capture
  # Capture-file mode starts on the capture file's name and format.
  # Text of another program's edit is out of reach; its length is not (the
  # screenshot shows "cap" and "PNG Format").
  local edit
  edit=$(kd children "$(kd item "$dialog" $FileNameBox)" | awk -F'\t' '$2 == "Edit" { print $1; exit }')
  [ "$(kd send "$edit" 0x0e 0 0)" = 3 ] || fail "the name box does not hold the three letters of cap"
  [ "$(kd send "$(kd item "$dialog" $FileTypeBox)" 0x147 0 0)" = 7 ] || fail "not on the PNG entry"
  kd set-text "$dialog" $FileNameBox shot1 >/dev/null
  kd answer "$dialog" 1 >/dev/null
  wait "$capturing" || true
  for _ in $(seq 40); do [ -s "$app/shot1.png" ] && break; sleep 0.25; done
  [ "$($IM/identify-im6.q16 -format '%m %w' "$app/shot1.png")" = "PNG 1280" ] || fail "shot1.png is no screen PNG"
  [ ! -e "$app/cap.bmp" ] || fail "the old name was written"
  wait_children 1
  exit_kaptura
  [ "$(ini_get FileNameDirect)" = "$folder\\shot1.png" ] || fail "FileNameDirect: $(ini_get FileNameDirect)"
  [ "$(ini_get Format | cut -d, -f3)" = 8 ] || fail "Format value 3: $(ini_get Format)"
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
