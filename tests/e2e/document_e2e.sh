#!/usr/bin/env bash
# End-to-end cases of the image documents under Wine: document_e2e.sh <case>.
# Files are opened and saved through the program's own Open and Save As
# dialogs, driven by kdriver; ImageMagick is the judge of what was written.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

IM=/usr/bin
FileOpen=57601
FileSaveAs=57604
# The Windows path of a file in the case's program folder.
winpath() { echo "Z:${app//\//\\}\\$1"; }

# Runs the file dialog the command opens with the given file name.
file_dialog() { run_file_dialog "$1" "$(winpath "$2")"; }

shots="$case_dir/shots"
mkdir -p "$shots"

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
  texts_whole "$frame" "the main window with an image and its note"
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
  # The format library's own text for the file's error id (1010).
  local said
  said=$(answer_box "Format Error" 1)
  grep -Fxq "This PNG file is corrupted." <<<"$said" || fail "the box said '$said', not the library's text for 1010"
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

# A 60 x 40 picture of 10 x 10 cells in four colours, one of them a near
# miss of the colour picked below (RGB(5, 120, 255)).
cells_colour() { echo "[(5, 120, 255), (200, 30, 40), (5, 120, 254), (250, 250, 250)][($1 // 10 + $2 // 10) % 4]"; }
make_cells() {
  python3 - "$1" <<PY
import struct, sys
w, h = 60, 40
def colour(x, y): return $(cells_colour x y)
stride = (w * 3 + 3) & ~3
body = b"".join(bytes(c for x in range(w) for c in colour(x, y)[::-1]) + bytes(stride - 3 * w)
                for y in range(h - 1, -1, -1))
header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54) + header + body)
PY
}

# Check & Change Colors on the active window: the click lands on image
# pixel (5, 5) of its view (margins of 5 pixels); prints the Check Color
# dialog.
pick_colour() {
  local view left top
  view=$(kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1; exit }')
  [ -n "$view" ] || fail "no image view"
  read -r left top _ _ <<< "$(window_rect "$view")"
  kd post-command "$frame" 32803 >/dev/null
  sleep 0.5
  probe click $((left + 11)) $((top + 11)) || fail "the click failed"
  kd wait-dialog "$(kd window-pid "$frame")" "Check Color" 10 || fail "no Check Color dialog"
}

# The Check Color dialog's texts, one "label value" pair a line.
colour_texts() { kd dialog-text "$1" | paste -d' ' - -; }

# The screen's colour at the centre of a window, as "srgb(r,g,b)".
screen_colour_at_centre() {
  local left top right bottom
  read -r left top right bottom <<< "$(window_rect "$1")"
  import-im6.q16 -window root "$shots/screen.png"
  convert-im6.q16 "$shots/screen.png" -format "%[pixel:p{$(((left + right) / 2)),$(((top + bottom) / 2))}]" info:
}

case_check_change_colors() {
  seed_ini "SendtoPage=0,1,1,0,0,0,0,5,5"
  make_cells "$app/cells.bmp"
  start_kaptura
  file_dialog $FileOpen cells.bmp
  wait_children 1
  local box pid colour_box
  pid=$(kd window-pid "$frame")
  box=$(pick_colour)
  [ "$(colour_texts "$box")" = "$(printf 'Red: 005\nGreen: 120\nBlue: 255')" ] \
    || fail "Check Color shows: $(colour_texts "$box")"
  texts_whole "$box" "the Check Color dialog"
  local swatch
  swatch=$(screen_colour_at_centre "$(kd item "$box" 1701)")
  # E2E_SHOT_DIR keeps a picture of the dialog for a person to look at.
  [ -z "${E2E_SHOT_DIR:-}" ] || cp "$shots/screen.png" "$E2E_SHOT_DIR/check-color.png"
  [ "$swatch" = "srgb(5,120,255)" ] || fail "the swatch shows $swatch"
  # Change Color: the system's colour dialog, full open, takes the new
  # colour in its red, green and blue fields.
  kd answer "$box" 1705 >/dev/null
  colour_box=$(kd wait-dialog "$pid" Color 10) || fail "no colour dialog"
  kd wait-gone "$box" 5 >/dev/null || fail "Check Color stayed"
  kd set-text "$colour_box" 706 10 >/dev/null
  kd set-text "$colour_box" 707 200 >/dev/null
  kd set-text "$colour_box" 708 30 >/dev/null
  kd answer "$colour_box" 1 >/dev/null
  kd wait-gone "$colour_box" 5 >/dev/null || fail "the colour dialog stayed"
  wait_children 2
  [ "$(kd mdi-children "$frame" | head -1)" = "Change Color" ] || fail "the new window: $(kd mdi-children "$frame")"
  file_dialog $FileSaveAs changed.bmp
  wait_file changed.bmp
  python3 - "$app/changed.bmp" <<PY || fail "the change is not exactly the picked colour's pixels"
import sys; sys.path.insert(0, "$here")
import bmp_check
bmp = bmp_check.Bitmap(sys.argv[1])
assert (bmp.width, bmp.height) == (60, 40), (bmp.width, bmp.height)
def want(x, y):
    c = $(cells_colour x y)
    return (10, 200, 30) if c == (5, 120, 255) else c
bad = [(x, y) for y in range(40) for x in range(60) if bmp.at(x, y) != want(x, y)]
sys.exit("%d pixels differ, first %s" % (len(bad), bad[:3]) if bad else 0)
PY
  # Close: no colour dialog and no new window. The changed window shows the
  # new colour where the old one was.
  box=$(pick_colour)
  [ "$(colour_texts "$box")" = "$(printf 'Red: 010\nGreen: 200\nBlue: 030')" ] \
    || fail "Check Color on the changed window shows: $(colour_texts "$box")"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 >/dev/null || fail "Check Color stayed after Close"
  ! kd wait-dialog "$pid" Color 1 >/dev/null 2>&1 || fail "Close went on to the colour dialog"
  sleep 0.5
  wait_children 2
  exit_kaptura
}


# Screenshots a person can look at after the run.
keep_shots="$E2E_ROOT/document-shots"
mkdir -p "$keep_shots"
keep_shot() { import-im6.q16 -window root "$keep_shots/$1.png" 2>/dev/null || true; }

# The notepad's edit in the frame; the image view and its height, which
# shrinks when the notepad below it is shown.
notepad_edit() {
  edit=$(kd children "$frame" | awk -F'\t' '$2 == "Edit" {print $1; exit}')
  [ -n "$edit" ] || fail "no notepad"
}
image_view_height() {
  view=$(kd children "$frame" | awk '$2 ~ /^Kf:b:/ { print $1; exit }')
  [ -n "$view" ] || fail "no image view"
  view_height=$(kd height "$view")
}
wait_notepad_shown() {
  local height=0
  for _ in $(seq 40); do
    height=$(kd height "$view")
    [ "${height:-0}" -lt $((view_height - 40)) ] && return 0
    sleep 0.25
  done
  fail "the notepad is not shown (image view $view_height high, then $height)"
}

# Open Note Text shows the file's text in the notepad; Save Note Text
# writes the notepad's text, with its zero byte, to the file chosen.
case_note_text_files() {
  seed_ini
  printf 'read from a file' > "$app/typed.txt"
  start_kaptura
  kd hotkey "$frame" 6 c
  wait_children 1
  image_view_height
  run_file_dialog 32774 "$(winpath typed.txt)"
  notepad_edit
  wait_notepad_shown
  [ "$(kd text "$edit")" = "read from a file" ] || fail "the notepad shows '$(kd text "$edit")'"
  run_file_dialog 32775 "$(winpath written)"
  wait_file written.txt
  printf 'read from a file\0' | cmp -s - "$app/written.txt" || fail "Save Note Text wrote '$(od -c "$app/written.txt" | head -3)'"
  exit_kaptura
}

# A note whose side file cannot be replaced (a folder of that name is in
# the way here): the image is saved, what was there stays, and the user is
# told.
case_note_file_kept() {
  seed_ini
  start_kaptura
  kd hotkey "$frame" 6 c
  wait_children 1
  kd command "$frame" 32785 >/dev/null   # View Notepad
  notepad_edit
  kd set-window-text "$edit" "the new note" || fail "the note could not be typed"
  mkdir -p "$app/kept.txt"
  printf 'old' > "$app/kept.txt/inside"
  file_dialog $FileSaveAs kept.bmp
  local text
  text=$(answer_box "Kaptura 99" 1) || fail "the note that could not be written was not reported"
  keep_shot note-not-written
  echo "$text" | grep -q "The note could not be written to" || fail "the message reads: $text"
  [ -d "$app/kept.txt" ] && [ "$(cat "$app/kept.txt/inside")" = old ] || fail "what was in the way changed"
  [ -z "$(ls "$app" | grep '^~pv')" ] || fail "a temporary file was left: $(ls "$app" | grep '^~pv')"
  wait_file kept.bmp
  exit_kaptura
}

# Dragging the bar below the image up shows "Notes:" and the edit, as
# View Notepad does.
case_splitter_drag() {
  seed_ini
  start_kaptura
  kd hotkey "$frame" 1 c
  wait_children 1
  local left top right bottom x
  image_view_height
  read -r left top right bottom <<< "$(window_rect "$view")"
  x=$(((left + right) / 2))
  probe drag "$x" $((bottom + 3)) "$x" $((bottom - 150)) || fail "the drag failed"
  notepad_edit
  wait_notepad_shown
  kd children "$frame" | awk -F'\t' '$2 == "Static" && $3 == "Notes:"' | grep -q . || fail "no Notes: label"
  keep_shot splitter-drag
  exit_kaptura
}

# The items of the folder tree drawn highlighted: selected or drop-highlighted.
highlighted_items() { kd tree-marked "$tree" | grep -E $'\t.*(selected|drop-highlighted)' | cut -f1; }

# A file saved into a folder the user has open in the folder tree is sorted
# in after the folder's folders, and is the one item highlighted.
case_saved_file_in_tree() {
  seed_ini
  local data="$case_dir/data" x y indent height listed="" marked=""
  # c.bmp, already there, sorts after the saved a.bmp: a file only added at
  # the end would come after it.
  mkdir -p "$data/b"
  : > "$data/c.bmp"
  ln -sfn "$data" "$WINEPREFIX/dosdevices/m:"
  start_kaptura
  tree=$(kd children "$frame" | awk -F'\t' '$2 == "SysTreeView32" { print $1; exit }')
  [ -n "$tree" ] || fail "no folder tree"
  [ "$(kd tree-items "$tree" "My Computer\\M:" | tr '\n' ' ')" = "b c.bmp " ] || fail "M: lists: $(kd tree-items "$tree" "My Computer\\M:")"
  # The user opens M: with a click on its "+" and clicks the folder b.
  read -r x y <<<"$(kd tree-button "$tree" "My Computer\\M:")" || fail "no button beside M:"
  xdotool mousemove "$x" "$y" click 1 || fail "xdotool cannot click"
  for _ in $(seq 40); do
    kd tree-marked "$tree" | grep -qE $'^My Computer\\\\M:\t.*expanded' && break
    sleep 0.25
  done
  kd tree-marked "$tree" | grep -qE $'^My Computer\\\\M:\t.*expanded' || fail "the click on the + did not open M:"
  indent=$(kd send "$tree" 0x1106 0 0)   # TVM_GETINDENT
  height=$(kd send "$tree" 0x111C 0 0)   # TVM_GETITEMHEIGHT
  x=$((x + indent + 16))                 # past the button of b, on its picture
  y=$((y + height))
  xdotool mousemove "$x" "$y" click 1 || fail "xdotool cannot click"
  for _ in $(seq 40); do
    marked=$(highlighted_items | tr '\n' ' ')
    [ "$marked" = 'My Computer\M:\b ' ] && break
    sleep 0.25
  done
  [ "$marked" = 'My Computer\M:\b ' ] || fail "the click on b highlights: $marked"
  kd hotkey "$frame" 6 c
  wait_children 1
  run_file_dialog $FileSaveAs 'M:\a.bmp'
  for _ in $(seq 40); do [ -s "$data/a.bmp" ] && break; sleep 0.25; done
  [ -s "$data/a.bmp" ] || fail "a.bmp was not written"
  for _ in $(seq 40); do
    listed=$(kd tree-items "$tree" "My Computer\\M:" | tr '\n' ' ')
    [ "$listed" = "b a.bmp c.bmp " ] && break
    sleep 0.25
  done
  marked=$(highlighted_items | tr '\n' ' ')
  keep_shot saved-file-in-tree
  [ "$listed" = "b a.bmp c.bmp " ] && [ "$marked" = 'My Computer\M:\a.bmp ' ] ||
    fail "after the save M: lists '$listed', and the highlighted items are '$marked' ($(kd tree-marked "$tree" | tr '\t\n' '= '))"
  exit_kaptura
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
