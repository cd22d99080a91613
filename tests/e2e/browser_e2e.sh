#!/bin/bash
# End-to-end cases of the image browser: the real Pixorama99.exe under Wine
# with drive Z: removed and P: mapped to a fixture tree, driven by kdriver
# and the real mouse; the files, the clipboard and the screen are checked
# with ImageMagick and the fixture itself.
#
# Usage: browser_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/browser-lib.sh"
shots="$E2E_ROOT/browser-shots"
mkdir -p "$shots"

# A small tree: every kind the scan must tell apart, nested folders, a
# folder link back to its parent, and a file the library cannot read.
small_fixture() {
  mkdir -p "$tree/photos/sub" "$tree/docs" "$tree/empty"
  $IM -size 64x48 gradient:red-blue -colors 64 -type palette "BMP3:$tree/a.bmp"
  cp "$tree/a.bmp" "$tree/A2.BMP"
  photo "$tree/photos/Photo1.JPG" 120x80 3
  $IM -size 200x150 xc:yellow -fill blue -draw "circle 100,75 100,20" "PNG24:$tree/photos/sub/circle.png"
  $IM -size 32x32 xc:green "$tree/photos/sub/g.gif"
  $IM -size 40x30 xc:orange "$tree/photos/x.pcx"
  photo "$tree/photos/t.tif" 50x40 5
  cp "$tree/photos/Photo1.JPG" "$tree/docs/p.jpeg"
  echo "no image" > "$tree/docs/readme.txt"
  echo "no extension" > "$tree/docs/noext"
  printf 'BM this is no bitmap' > "$tree/docs/broken.bmp"
  ln -s .. "$tree/photos/sub/loop"
}

# n folders of m files each (empty files: the scan reads names and sizes).
wide_fixture() {
  python3 -c '
import os, sys
root, folders, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for f in range(folders):
    os.makedirs(os.path.join(root, "d%d" % f), exist_ok=True)
    for i in range(files):
        open(os.path.join(root, "d%d" % f, "img%d.bmp" % i), "w").close()
' "$tree" "$1" "$2"
}

locations() { rows | cut -f5 | sort -f; }

# Waits until the status bar's totals read "Total Files: $1" and "Total
# Space: $2" (the panes follow at idle: the mouse moves).
wait_totals() {
  for _ in $(seq 100); do
    nudge
    [ "$(kd status-text "$frame" 4)" = "Total Files: $1" ] && [ "$(kd status-text "$frame" 3)" = "Total Space: $2" ] &&
      return 0
    sleep 0.2
  done
  fail "totals: $(kd status-text "$frame" 4), $(kd status-text "$frame" 3); expected $1 files, $2"
}

# The fixture's image files or folders the program can open: paths on P:,
# or the names right in the fixture's root (top).
IMAGE_NAMES='\.(bmp|clp|cur|dib|gif|ico|jpg|pcx|png|rle|tif|wpg)$'
reachable() {
  python3 "$(dirname "$0")/ansi_paths.py" "$tree" P: "$WINEPREFIX" "$1" "$IMAGE_NAMES" | LC_ALL=C sort -f
}
# The program's texts (in the prefix's ANSI code page) as UTF-8.
from_ansi() {
  local acp
  acp=$(grep -a '^"ACP"=' "$WINEPREFIX/system.reg" | cut -d'"' -f4)
  if [ "$acp" = 65001 ]; then cat; else iconv -f "CP$acp" -t UTF-8; fi
}

# Per-format count and size lines of the fixture, in the report's order.
expected_report() {
  python3 - "$tree" <<'PY'
import os, sys
order = ["bmp", "clp", "cur", "dib", "gif", "ico", "jpg", "pcx", "png", "rle", "tif", "wpg"]
files = {k: 0 for k in order}; size = {k: 0 for k in order}
for root, dirs, names in os.walk(sys.argv[1]):
    for n in names:
        ext = n.rsplit(".", 1)[-1].lower() if "." in n else ""
        if ext in files:
            files[ext] += 1; size[ext] += os.path.getsize(os.path.join(root, n))
kb = lambda b: "0KB" if b == 0 else "{:,}KB".format(b // 1024 + 1)
for k in order:
    print("{:,} {}".format(files[k], kb(size[k])))
print("{:,} {}".format(sum(files.values()), kb(sum(size.values()))))
PY
}

case "$scenario" in
scan_matches_find)
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  texts_whole "$selection" "the selection dialog"
  scan
  [ "$(locations)" = "$(expected_files)" ] || fail "listed files differ from find's: $(diff <(locations) <(expected_files))"
  size=$(python3 -c 'import os, sys; print("{:,}".format(os.path.getsize(sys.argv[1])))' "$tree/A2.BMP")
  rows | grep -q "^A2.BMP"$'\t'"$size"$'\tBMP\t' || fail "A2.BMP row: $(rows | grep A2)"
  report > "$case_dir/report.txt"
  expected_report > "$case_dir/expected.txt"
  diff "$case_dir/report.txt" "$case_dir/expected.txt" >&2 || fail "the report differs from the fixture"
  nudge
  sleep 0.5
  kd status-text "$frame" 4 | grep -qx "Total Files: $(expected_files | wc -l)" || fail "status: $(kd status-text "$frame" 4)"
  # A file the library cannot read: its message, and no image afterwards.
  kd tree-select "$treeview" 'My Computer\P:\docs\broken.bmp' &
  selecting=$!
  box=$(kd wait-dialog - - 10) || fail "no message for the broken file"
  kd answer "$box" 1 >/dev/null
  wait $selecting
  nudge
  sleep 0.5
  [ "$(kd toolbar-state "$frame" 57632)" = disabled ] || fail "Delete Image enabled without an image"
  kd tree-select "$treeview" 'My Computer\P:\photos\sub\circle.png' || fail "no circle.png in the tree"
  nudge
  wait_status 1 "200w x 150h"
  wait_status 2 "24-bit, 16.8M colors"
  shot "$shots/after_scan.png"
  kd post-command "$frame" 32773 >/dev/null
  box=$(kd wait-dialog - "Pixorama 99 Report" 10) || fail "no report"
  sleep 0.5
  texts_whole "$box" "the Summary Report"
  shot "$shots/summary_report.png"
  kd answer "$box" 1 >/dev/null
  exit_browser
  ;;
cancel_midway)
  wide_fixture 1000 100
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  kd answer "$selection" 1 >/dev/null
  scanner=$(kd wait-dialog - "Pixorama 99 Scanner" 20) || fail "no scanner dialog"
  sleep 0.3
  texts_whole "$scanner" "the scanner dialog"
  kd answer "$scanner" 2 >/dev/null
  wait_scan_end
  kd wait-gone "$scanner" 5 >/dev/null || fail "the cancelled scanner dialog stays"
  listed=$(kd send "$listview" 0x1004 0 0)   # LVM_GETITEMCOUNT
  [ "$listed" -lt 100000 ] || fail "cancel came too late to test ($listed rows)"
  total=$(report | tail -1 | cut -d' ' -f1 | tr -d ,)
  [ "$listed" = "$total" ] || fail "$listed rows but the report counts $total"
  exit_browser
  ;;
exit_midway)
  # File Exit reaching the frame during a scan (it is disabled, but a
  # message can still come) stops the scan and ends the program cleanly.
  wide_fixture 1000 100
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  pid=${pids[-1]}
  kd answer "$selection" 1 >/dev/null
  kd wait-dialog - "Pixorama 99 Scanner" 20 >/dev/null || fail "no scanner dialog"
  kd post-command "$frame" 57665 >/dev/null
  kd wait-gone "$frame" 30 >/dev/null || fail "the program did not end"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  status=0
  wait "$pid" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
  ! grep -q "Unhandled" "$case_dir/pixorama.log" || fail "the program crashed: $(grep Unhandled "$case_dir/pixorama.log")"
  ;;
sort_orders)
  small_fixture
  for n in 1 2 3 4 5 6 7 8 9; do head -c $((n * 997)) /dev/urandom > "$tree/docs/s$n.bmp"; done
  touch -d "2020-01-01 12:30" "$tree/docs/s1.bmp"
  touch -d "2020-01-01 13:05" "$tree/docs/s2.bmp"
  touch -d "2020-01-01 00:10" "$tree/docs/s3.bmp"
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  for column in 0 1 2 3 4; do
    for direction in ascending descending; do
      kd column-click "$listview" $column
      sleep 0.5
      rows > "$case_dir/rows.txt"
      python3 - "$case_dir/rows.txt" $column $direction <<'PY' || fail "column $column $direction out of order"
import sys, datetime
rows = [l.rstrip("\n").split("\t") for l in open(sys.argv[1]) if l.strip()]
col = int(sys.argv[2]); rev = sys.argv[3] == "descending"
def key(r):
    t = r[col]
    if col == 1: return int(t.replace(",", ""))
    if col == 3: return datetime.datetime.strptime(t, "%m/%d/%Y %I:%M%p") if not t.split(" ")[1].startswith("0:") else datetime.datetime.strptime(t.replace(" 0:", " 12:"), "%m/%d/%Y %I:%M%p")
    return t.lower()
keys = [key(r) for r in rows]
assert keys == sorted(keys, reverse=rev), (keys, sorted(keys, reverse=rev))
PY
    done
  done
  exit_browser
  ;;
rename_convert)
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  $IM "$tree/a.bmp" "$case_dir/a.png"
  kd tree-select "$treeview" 'My Computer\P:\a.bmp'
  item=$(kd send "$treeview" 0x110A 9 0)            # TVM_GETNEXTITEM, TVGN_CARET
  edit=$(kd send "$treeview" 0x110E 0 "$item")      # TVM_EDITLABELA
  kd set-window-text "$edit" "b.gif" >/dev/null
  kd send "$treeview" 0x1116 0 0 >/dev/null         # TVM_ENDEDITLABELNOW: keep the text
  for _ in $(seq 50); do [ -e "$tree/a.bmp" ] || break; sleep 0.1; done
  [ ! -e "$tree/a.bmp" ] || fail "a.bmp is still there"
  [ -e "$tree/b.gif" ] || fail "no b.gif"
  [ "$($IM identify -format %m "$tree/b.gif" 2>/dev/null || /usr/bin/identify-im6.q16 -format %m "$tree/b.gif")" = GIF ] || fail "b.gif is no GIF"
  [ "$(differing_pixels "$tree/b.gif" "$case_dir/a.png" 2%)" = 0 ] || fail "b.gif differs from a.bmp"
  rows | grep -q $'^b.gif\t.*\tGIF\t.*\tP:\\\\b.gif$' || fail "no b.gif row: $(rows | grep -i 'b.gif')"
  # An extension the library does not write: the message, nothing changes.
  item=$(kd send "$treeview" 0x110A 9 0)
  edit=$(kd send "$treeview" 0x110E 0 "$item")
  kd set-window-text "$edit" "c.xyz" >/dev/null
  kd post "$treeview" 0x1116 0 0 >/dev/null
  box=$(kd wait-dialog - - 10) || fail "no message for c.xyz"
  kd dialog-text "$box" | grep -q "The new filename is an unsupported format." || fail "message: $(kd dialog-text "$box")"
  kd answer "$box" 1 >/dev/null
  [ -e "$tree/b.gif" ] && [ ! -e "$tree/c.xyz" ] || fail "the unsupported rename changed files"
  # Without an extension the old one stays: a plain rename.
  item=$(kd send "$treeview" 0x110A 9 0)
  edit=$(kd send "$treeview" 0x110E 0 "$item")
  kd set-window-text "$edit" "d" >/dev/null
  kd send "$treeview" 0x1116 0 0 >/dev/null
  for _ in $(seq 50); do [ -e "$tree/b.gif" ] || break; sleep 0.1; done
  [ -e "$tree/d.gif" ] && [ ! -e "$tree/b.gif" ] || fail "b.gif was not renamed to d.gif"
  rows | grep -q $'^d.gif\t' || fail "no d.gif row"
  exit_browser
  ;;
delete_file)
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  before=$(rows | grep -c .)
  kd tree-select "$treeview" 'My Computer\P:\photos\x.pcx'
  kd post-command "$frame" 57632 >/dev/null
  box=$(kd wait-dialog - - 10) || fail "no question"
  kd dialog-text "$box" | grep -q 'Are you sure you want to remove file P:\\photos\\x.pcx?' || fail "question: $(kd dialog-text "$box")"
  kd answer "$box" 6 >/dev/null
  for _ in $(seq 50); do [ -e "$tree/photos/x.pcx" ] || break; sleep 0.1; done
  [ ! -e "$tree/photos/x.pcx" ] || fail "x.pcx is still there"
  kd wait-gone "$box" 5 >/dev/null
  [ "$(rows | grep -c .)" = $((before - 1)) ] || fail "rows: $(rows | grep -c .) after $before"
  ! rows | grep -q 'x.pcx' || fail "the row of x.pcx stays"
  [ -e "$tree/a.bmp" ] && [ -e "$tree/photos/Photo1.JPG" ] || fail "another file went"
  [ "$(report | sed -n 8p)" = "0 0KB" ] || fail "PCX still counted: $(report | sed -n 8p)"
  # A folder is not deleted.
  kd tree-select "$treeview" 'My Computer\P:\photos'
  kd post-command "$frame" 57632 >/dev/null
  box=$(kd wait-dialog - - 10) || fail "no message for a folder"
  kd dialog-text "$box" | grep -q "You can not delete folders within Pixorama." || fail "folder message"
  kd answer "$box" 1 >/dev/null
  [ -d "$tree/photos" ] || fail "the folder went"
  exit_browser
  ;;
copy_image)
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  kd tree-select "$treeview" 'My Computer\P:\photos\sub\circle.png'
  kd command "$frame" 57634 >/dev/null
  probe clipboard-save 'P:\clip.bmp' >/dev/null || fail "no bitmap on the clipboard"
  [ "$(differing_pixels "$tree/clip.bmp" "$tree/photos/sub/circle.png")" = 0 ] || fail "clipboard image differs"
  # Help About, whole.
  kd post-command "$frame" 57664 >/dev/null
  box=$(kd wait-dialog - "About Pixorama 99" 10) || fail "no about box"
  sleep 0.5
  texts_whole "$box" "the about box"
  shot "$shots/about.png"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 >/dev/null || fail "the about box stayed"
  exit_browser
  ;;
full_screen)
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P" 255      # red background (0x0000FF)
  start_browser
  scan
  kd tree-select "$treeview" 'My Computer\P:\photos\sub\circle.png'
  kd command "$frame" 32782 >/dev/null
  sleep 1
  shot "$shots/full_screen.png"
  [ "$($IM "$shots/full_screen.png" -format '%[pixel:p{5,5}]' info:)" = "srgb(255,0,0)" ] || fail "corner is $($IM "$shots/full_screen.png" -format '%[pixel:p{5,5}]' info:)"
  # 200 x 150 centred on 1280 x 1024: the image spans 540..739 and 437..586.
  $IM "$shots/full_screen.png" -crop 200x150+540+437 +repage "$case_dir/centre.png"
  [ "$(differing_pixels "$case_dir/centre.png" "$tree/photos/sub/circle.png" 3%)" = 0 ] || fail "the image is not centred"
  [ "$($IM "$shots/full_screen.png" -format '%[pixel:p{539,437}]' info:)" = "srgb(255,0,0)" ] || fail "left of the image is not background"
  screen=$(kd wait-window PixoramaFullScreen - 5) || fail "no full-screen window"
  kd post "$screen" 0x0201 1 0x00640064 >/dev/null   # WM_LBUTTONDOWN at (100, 100)
  kd wait-gone "$screen" 5 >/dev/null || fail "full screen stays after a click"
  sleep 0.5
  shot "$case_dir/closed.png"
  [ "$($IM "$case_dir/closed.png" -format '%[pixel:p{5,5}]' info:)" != "srgb(255,0,0)" ] || fail "full screen stays after a click"
  kd command "$frame" 32782 >/dev/null
  sleep 1
  shot "$case_dir/again.png"
  [ "$($IM "$case_dir/again.png" -format '%[pixel:p{5,5}]' info:)" = "srgb(255,0,0)" ] || fail "full screen does not open again"
  screen=$(kd wait-window PixoramaFullScreen - 5) || fail "no full-screen window"
  kd post "$screen" 0x0100 0x20 0 >/dev/null     # WM_KEYDOWN, space
  kd wait-gone "$screen" 5 >/dev/null || fail "full screen stays after a key"
  exit_browser
  ;;
print_image)
  # Print shows the print library's options sheet; its OK prints to the
  # PDF queue, and the page carries the image.
  [ "${PRINT_QUEUE_OK:-0}" = 1 ] || fail "no PDF print queue"
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  kd tree-select "$treeview" 'My Computer\P:\photos\sub\circle.png'
  touch "$case_dir/since"
  sleep 1
  kd post-command "$frame" 57607 >/dev/null
  sheet=$(kd wait-dialog - - 30) || fail "no print options sheet"
  sleep 1
  kd answer "$sheet" 1 >/dev/null
  kd wait-gone "$sheet" 20 >/dev/null || fail "the options sheet stayed open"
  # Other groups may print at the same time: the job is the PDF that
  # names the image.
  pdf=""
  for _ in $(seq 150); do
    for candidate in $(find "$HOME/PDF" -newer "$case_dir/since" -name "*.pdf" 2>/dev/null); do
      pdfinfo "$candidate" >/dev/null 2>&1 && pdftotext -layout "$candidate" - 2>/dev/null | grep -q "circle.png" &&
        pdf=$candidate && break
    done
    [ -n "$pdf" ] && break
    sleep 0.2
  done
  [ -n "$pdf" ] || fail "nothing naming circle.png reached the PDF queue"
  pdftotext -layout "$pdf" - | grep -Fq "200w x 150h" || fail "the page does not give the image's size"
  pdftoppm -r 50 -f 1 -l 1 "$pdf" "$case_dir/page"
  page=$(ls "$case_dir"/page*.ppm | head -1)
  blue=$($IM "$page" -fuzz 20% -fill black +opaque blue -fill white -opaque blue -format '%[fx:mean*w*h]' info:)
  [ "${blue%.*}" -gt 100 ] || fail "no blue circle on the page ($blue pixels)"
  exit_browser
  ;;
settings_round_trip)
  small_fixture
  rm -f "$settings"
  start_browser
  for id in 1152 1157 67; do kd send "$(kd item "$selection" $id)" 0x00F5 0 0 >/dev/null; done  # CLP, JPG, C: off
  scan
  [ "$(setting ExplorerFormats)" = "1,0,1,1,1,1,0,1,1,1,1,1" ] || fail "formats: $(setting ExplorerFormats)"
  [ "$(setting ExplorerDrives)" = "0,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1" ] || fail "drives: $(setting ExplorerDrives)"
  ! rows | grep -qi '\.jpg' || fail "a JPG is listed with JPG off"
  exit_browser
  printf 'Session=%s\r\n' 4227327 >> "$settings"
  start_browser
  [ "$(kd send "$(kd item "$selection" 1157)" 0x00F0 0 0)" = 0 ] || fail "JPG ticked on the second run"
  [ "$(kd send "$(kd item "$selection" 1151)" 0x00F0 0 0)" = 1 ] || fail "BMP not ticked on the second run"
  [ "$(kd send "$(kd item "$selection" 67)" 0x00F0 0 0)" = 0 ] || fail "C: ticked on the second run"
  kd answer "$selection" 2 >/dev/null
  exit_browser
  [ "$(setting Session)" = 4227327 ] || fail "background: $(setting Session)"
  # Broken values: the defaults.
  printf '[Pixorama]\r\nExplorerFormats=1,x,zz\r\nExplorerDrives=99999999999999999999\r\nSession=blue\r\n' > "$settings"
  start_browser
  for id in 1151 1152 1158 1162 67 80; do
    [ "$(kd send "$(kd item "$selection" $id)" 0x00F0 0 0)" = 1 ] || fail "box $id not ticked after a broken value"
  done
  kd answer "$selection" 2 >/dev/null
  [ "$(rows | grep -c . || true)" = 0 ] || fail "rows after Cancel"
  kd status-text "$frame" 3 | grep -qx "Total Space: 0KB" || fail "status after Cancel: $(kd status-text "$frame" 3)"
  exit_browser
  ;;
rename_drive_refused)
  # Only folders and files are renamed: the edit does not even start on a
  # drive or on "My Computer" (a drive renamed would move all it holds).
  small_fixture
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  for path in 'My Computer\P:' 'My Computer'; do
    kd tree-select "$treeview" "$path" || fail "no tree item $path"
    item=$(kd send "$treeview" 0x110A 9 0)            # TVM_GETNEXTITEM, TVGN_CARET
    edit=$(kd send "$treeview" 0x110E 0 "$item")      # TVM_EDITLABELA
    [ "$edit" = 0 ] && continue
    kd set-window-text "$edit" "Photos" >/dev/null
    kd send "$treeview" 0x1116 0 0 >/dev/null         # TVM_ENDEDITLABELNOW: keep the text
    for _ in $(seq 30); do [ -e "$tree/a.bmp" ] || break; sleep 0.1; done
    fail "the edit starts on $path (fixture kept: $([ -e "$tree/a.bmp" ] && echo yes || echo no); in the program's folder: $(ls "$app" | tr '\n' ' '))"
  done
  [ -e "$tree/a.bmp" ] && [ -d "$tree/photos" ] || fail "the fixture moved"
  # A folder is still renamed.
  kd tree-select "$treeview" 'My Computer\P:\docs' || fail "no docs folder"
  item=$(kd send "$treeview" 0x110A 9 0)
  edit=$(kd send "$treeview" 0x110E 0 "$item")
  [ "$edit" != 0 ] || fail "a folder cannot be renamed"
  kd set-window-text "$edit" "papers" >/dev/null
  kd send "$treeview" 0x1116 0 0 >/dev/null
  for _ in $(seq 50); do [ -d "$tree/docs" ] || break; sleep 0.1; done
  [ -d "$tree/papers" ] && [ ! -e "$tree/docs" ] || fail "docs was not renamed to papers"
  exit_browser
  ;;
delete_unreachable)
  # A folder renamed in the tree puts a file's path past 259 characters:
  # the program cannot delete it, says so, and keeps its row and counts.
  long=$(printf 'L%.0s' $(seq 200))
  mkdir -p "$tree/deep/$long/d"
  $IM -size 8x8 xc:red "BMP3:$tree/deep/$long/d/f.bmp"
  $IM -size 300x300 xc:blue "BMP3:$tree/g.bmp"       # 270,054 bytes
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  before_rows=$(rows)
  wait_totals 2 264KB
  renamed="d$(printf 'x%.0s' $(seq 45))"            # the folder's path: 255 characters
  kd tree-select "$treeview" "My Computer\\P:\\deep\\$long\\d" || fail "no folder d"
  item=$(kd send "$treeview" 0x110A 9 0)
  edit=$(kd send "$treeview" 0x110E 0 "$item")
  kd set-window-text "$edit" "$renamed" >/dev/null
  kd send "$treeview" 0x1116 0 0 >/dev/null
  for _ in $(seq 50); do [ -d "$tree/deep/$long/d" ] || break; sleep 0.1; done
  [ -f "$tree/deep/$long/$renamed/f.bmp" ] || fail "the folder was not renamed"
  # The file cannot be opened any more: the library's message first.
  kd tree-select "$treeview" "My Computer\\P:\\deep\\$long\\$renamed\\f.bmp" &
  selecting=$!
  box=$(kd wait-dialog - - 10) || fail "no message for the unreachable file"
  kd answer "$box" 1 >/dev/null
  wait $selecting
  kd post "$treeview" 0x0100 0x2E 0 >/dev/null        # WM_KEYDOWN, Del
  box=$(kd wait-dialog - - 10) || fail "no question"
  kd dialog-text "$box" | grep -q 'Are you sure you want to remove file' || fail "question: $(kd dialog-text "$box")"
  kd answer "$box" 6 >/dev/null
  box=$(kd wait-dialog - - 10) || fail "no message for the failed delete (rows: $(rows | grep -c .) after $(echo "$before_rows" | grep -c .))"
  kd dialog-text "$box" | grep -q "could not be removed" || fail "message: $(kd dialog-text "$box")"
  shot "$shots/delete_failed.png"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 >/dev/null
  [ -f "$tree/deep/$long/$renamed/f.bmp" ] || fail "the file went"
  [ "$(rows)" = "$before_rows" ] || fail "the rows changed: $(diff <(echo "$before_rows") <(rows))"
  kd tree-items "$treeview" "My Computer\\P:\\deep\\$long\\$renamed" | grep -qx f.bmp || fail "the tree item went"
  wait_totals 2 264KB
  # A delete that works lowers the counts by that file alone.
  kd tree-select "$treeview" 'My Computer\P:\g.bmp' || fail "no g.bmp"
  kd post "$treeview" 0x0100 0x2E 0 >/dev/null
  box=$(kd wait-dialog - - 10) || fail "no question"
  kd answer "$box" 6 >/dev/null
  for _ in $(seq 50); do [ -e "$tree/g.bmp" ] || break; sleep 0.1; done
  [ ! -e "$tree/g.bmp" ] || fail "g.bmp is still there"
  wait_totals 1 1KB
  exit_browser
  ;;
unaddressable_names)
  # Names the ANSI calls cannot reach (no such letters in the code page, or
  # a path past 259 characters) are not listed, not counted, not walked;
  # all that is listed opens.
  long=$(printf 'L%.0s' $(seq 200))
  mkdir -p "$tree/plain" "$tree/日本" "$tree/Ωmega" "$tree/long/$long"
  n=0
  for path in plain/a.bmp 日本.bmp 日本/inner.bmp Ωmega/omega.bmp café.bmp long/$long/$(printf 'b%.0s' $(seq 46)).bmp \
              long/$long/$(printf 'c%.0s' $(seq 47)).bmp long/$long/$(printf 'd%.0s' $(seq 56)).bmp; do
    n=$((n + 1))
    $IM -size $((10 + n))x$((8 + n)) xc:green "BMP3:$tree/$path"     # each its own size
  done
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  rows | cut -f5 | from_ansi | LC_ALL=C sort -f > "$case_dir/listed.txt"
  [ "$(cat "$case_dir/listed.txt")" = "$(reachable files)" ] ||
    fail "listed files differ from the reachable ones: $(diff "$case_dir/listed.txt" <(reachable files))"
  for _ in $(seq 50); do
    nudge
    [ "$(kd status-text "$frame" 4)" = "Total Files: $(wc -l < "$case_dir/listed.txt")" ] && break
    sleep 0.2
  done
  [ "$(kd status-text "$frame" 4)" = "Total Files: $(wc -l < "$case_dir/listed.txt")" ] ||
    fail "$(kd status-text "$frame" 4) for $(wc -l < "$case_dir/listed.txt") rows"
  in_tree=$(kd tree-items "$treeview" 'My Computer\P:' | from_ansi | LC_ALL=C sort -f)
  [ "$in_tree" = "$(reachable top)" ] || fail "P: holds in the tree: $(echo $in_tree), reachable: $(echo $(reachable top))"
  # Every listed file opens (its size shows), the one at 259 characters too.
  while IFS= read -r location; do
    size=$(/usr/bin/identify-im6.q16 -format '%wx%h' "$tree/$(echo "${location#P:\\}" | tr '\\' /)")
    expected="${size%x*}w x ${size#*x}h"
    kd tree-select "$treeview" "My Computer\\$location" &
    selecting=$!
    for _ in $(seq 100); do
      [ "$(kd status-text "$frame" 1)" = "$expected" ] && break
      box=$(kd wait-dialog - - 0 2>/dev/null) && fail "$location: $(kd dialog-text "$box")"
      nudge
      sleep 0.1
    done
    wait $selecting
    [ "$(kd status-text "$frame" 1)" = "$expected" ] || fail "$location did not open"
  done < "$case_dir/listed.txt"
  exit_browser
  ;;
scan_bind_loop)
  # A folder mounted over one of its own ancestors is an ordinary folder to
  # Wine, neither link nor reparse point: only the scan's check of the
  # folders above keeps the walk from going round and round.
  if [ "$(id -u)" != 0 ]; then
    [ -z "${CI:-}" ] || fail "the bind mount needs root"
    exit 0
  fi
  mkdir -p "$tree/a/loop"
  $IM -size 8x8 xc:red "BMP3:$tree/p.bmp"
  mount --bind "$tree" "$tree/a/loop" || fail "the loop could not be mounted"
  trap 'loop_status=$?; umount "$tree/a/loop" 2>/dev/null; (exit $loop_status); finish' EXIT
  seed_settings "$ALL_FORMATS" "$ONLY_P"
  start_browser
  scan
  [ "$(rows | cut -f1 | grep -c '^p\.bmp$')" = 1 ] || fail "p.bmp is listed $(rows | cut -f1 | grep -c '^p\.bmp$') times"
  exit_browser
  ;;
*)
  fail "unknown case $scenario"
  ;;
esac
