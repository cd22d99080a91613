#!/usr/bin/env bash
# End-to-end cases of the capture pipeline and the capture kinds under Wine:
# capture_e2e.sh <case>. kprobe shows a known pattern on the display and
# moves the mouse; the captures are read back from the clipboard and the
# saved files by bmp_check.py.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

Ctrl=c
shots="$case_dir/shots"
mkdir -p "$shots"

# The pointer there, on the X side too: while the program holds the mouse,
# Wine does not move the X pointer for another process's input, and reads
# it back when the cover window goes.
pointer_to() {
  have_tool xdotool && xdotool mousemove "$1" "$2"
  probe move "$1" "$2"
}
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# The options every case starts from: pointer hidden, no sound or flash, no
# reduction on save, BMP files; the destinations as given.
# A key given after the destinations takes the place of its default here.
seed_capture_ini() {
  local sendto=$1; shift
  local lines=() line
  for line in "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0"; do
    printf '%s\n' "$@" | grep -q "^${line%%=*}=" || lines+=("$line")
  done
  seed_ini "SendtoPage=$sendto" "${lines[@]}" "$@"
}

# Shows the pattern at x y width height; sets $pattern to its window.
show_pattern() {
  probe pattern "$@" 900 >/dev/null &
  pids+=($!)
  pattern=$(kd wait-window KaptureProbePattern - 10) || fail "no pattern window"
  sleep 0.5
}

# Ends the probes' windows, then the program (Wine waits for every process
# of the prefix at the end).
finish_case() {
  local probe_window
  for probe_window in $(kd wait-window KaptureProbePattern - 0.1 2>/dev/null) \
                      $(kd wait-window KaptureProbeButtons - 0.1 2>/dev/null) \
                      $(kd wait-window KaptureProbeMenus - 0.1 2>/dev/null); do
    kd close "$probe_window" >/dev/null || true
  done
  exit_kaptura
}

# The clipboard's bitmap into a file, checked to exist.
clipboard_to() {
  probe clipboard-save "$1" || fail "no bitmap on the clipboard for $1"
}

# The active image window's picture, through Copy Image, into a file.
document_to() {
  kd command "$frame" 32778 >/dev/null
  clipboard_to "$1"
}

expect_size() {
  local got
  got=$(check size "$1" | cut -d' ' -f1)
  [ "$got" = "$2" ] || fail "$1 is $got, not $2"
}

expect_pattern() {
  local bad
  bad=$(check pattern "$@")
  [ "$bad" = 0 ] || fail "$bad pixels of $1 differ from the pattern"
}

# A captioned window with a menu bar at x y width height, in front; sets
# $menus to it, $file_item and $edit_item to the screen rectangles of its
# "File" and "Edit" items.
show_menus() {
  local out="$case_dir/menus.out" deadline=$((SECONDS + 30 * E2E_WAIT_SCALE))
  # Straight into the file: through a pipe, the lines would wait in a buffer.
  session_ready
  kwine "$BIN/kprobe.exe" menus "$@" 900 > "$out" 2>/dev/null &
  pids+=($!)
  until [ "$(grep -c . "$out")" -ge 3 ]; do
    [ $SECONDS -lt $deadline ] || fail "no window with menus"
    sleep 0.2
  done
  menus=$(sed -n 1p "$out" | tr -d '\r')
  file_item=$(sed -n 2p "$out" | tr -d '\r')
  edit_item=$(sed -n 3p "$out" | tr -d '\r')
}

# Opens the "File" menu with a real click on its item; sets $popup to the
# open menu's screen rectangle.
open_file_menu() {
  local l t r b
  read -r l t r b <<< "$file_item"
  pointer_to $(((l + r) / 2)) $(((t + b) / 2))
  probe click $(((l + r) / 2)) $(((t + b) / 2))
  popup=""
  wait_menu_change "the File menu did not open"
}

# Moves the real pointer onto another item of the open menu bar; sets $popup
# to the menu that opens in place of the last one.
hover_menu_item() {
  local l t r b
  read -r l t r b <<< "$1"
  pointer_to $(((l + r) / 2)) $(((t + b) / 2))
  wait_menu_change "no other menu opened under the pointer"
}

# Moves the real pointer onto the last item of the open menu ($popup) and
# waits for the cascading menu it opens.
open_cascade() {
  local l t r b shown deadline=$((SECONDS + 20 * E2E_WAIT_SCALE))
  read -r l t r b <<< "$popup"
  pointer_to $((l + 20)) $((b - 10))
  until shown=$(kd menu-popups "$menus") && [ "$(grep -c . <<< "$shown")" = 2 ]; do
    [ $SECONDS -lt $deadline ] || fail "the cascading menu did not open"
    sleep 0.25
  done
}

# Waits until the window with menus shows one open menu other than $popup.
wait_menu_change() {
  local shown deadline=$((SECONDS + 20 * E2E_WAIT_SCALE))
  until shown=$(kd menu-popups "$menus") && [ "$(grep -c . <<< "$shown")" = 1 ] && [ "$shown" != "$popup" ]; do
    [ $SECONDS -lt $deadline ] || fail "$1"
    sleep 0.25
  done
  popup=$shown
}

# The X display as a 24-bit BMP, once it has stopped changing (a menu that
# just opened is drawn).
screen_to() {
  local deadline=$((SECONDS + 20 * E2E_WAIT_SCALE))
  rm -f "$1"
  while :; do
    import-im6.q16 -window root "$1.png" || fail "no screenshot"
    convert-im6.q16 "$1.png" -type TrueColor "BMP3:$1.next" || fail "no BMP of the screenshot"
    [ -f "$1" ] && cmp -s "$1" "$1.next" && break
    [ $SECONDS -lt $deadline ] || fail "the screen does not settle"
    mv "$1.next" "$1"
    sleep 0.25
  done
  rm -f "$1.next"
}

# Options of the menu cases: no clock and no snapshot strip on the caption
# in front, so that the screen stays as it was when the hot key came.
quiet_captions=("Clock=0,0,0,0,0,0,0,0,0,0,16777215" "SnapshotButton=0,0,0,0,0,0,0")

case_screen_pattern() {
  # Window and clipboard destinations, the whole screen.
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "ScreenPage=0,0,1280,1024,0,0"
  start_kaptura
  show_pattern 160 120 320 240
  pointer_to 1200 1000
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "no Screen Capture window"
  kd status-text "$frame" 1 | grep -qx '1280w x 1024h' || fail "the image is not the screen's size"
  clipboard_to "$shots/clipboard.bmp"
  expect_size "$shots/clipboard.bmp" 1280x1024
  expect_pattern "$shots/clipboard.bmp" -160 -120 160 120 320 240
  # Wine hands the same bitmap to the X side.
  if have_tool xclip; then
    timeout 10 xclip -selection clipboard -t image/bmp -o > "$shots/x-side.bmp" || fail "xclip read nothing"
    expect_size "$shots/x-side.bmp" 1280x1024
    expect_pattern "$shots/x-side.bmp" -160 -120 160 120 320 240
  fi
  document_to "$shots/document.bmp"
  expect_size "$shots/document.bmp" 1280x1024
  expect_pattern "$shots/document.bmp" -160 -120 160 120 320 240
  finish_case

  # The same screen into a file as well: the same pixels land there, and
  # the window is then known by the file's name.
  seed_capture_ini "0,1,0,0,1,0,0,5,5" "ScreenPage=0,0,1280,1024,0,0"
  start_kaptura
  show_pattern 160 120 320 240
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  [ -f "$app/KAPT0000.BMP" ] || fail "no KAPT0000.BMP"
  expect_size "$app/KAPT0000.BMP" 1280x1024
  expect_pattern "$app/KAPT0000.BMP" -160 -120 160 120 320 240
  kd mdi-children "$frame" | grep -q "KAPT0000" || fail "the window is not titled by its file"
  finish_case
}

case_window_pattern() {
  # The window in front, whole, then a window picked with the mouse.
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "WindowPage=0,1,1,0,0,0,10"
  start_kaptura
  show_pattern 200 150 320 240
  probe click 300 200                        # the pattern comes to the front
  pointer_to 1200 1000
  kd hotkey "$frame" 2 $Ctrl
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Window Capture" || fail "no Window Capture window"
  clipboard_to "$shots/window.bmp"
  expect_size "$shots/window.bmp" 320x240
  expect_pattern "$shots/window.bmp" 0 0
  finish_case

  seed_capture_ini "0,1,1,0,0,0,0,5,5" "WindowPage=1,1,1,0,0,0,10"
  start_kaptura
  show_pattern 200 150 320 240
  kd hotkey "$frame" 2 $Ctrl
  local cover
  cover=$(kd wait-window CoverWindow - 5) || fail "no cover window"
  kd wait-visible "$cover" 1 5 || fail "no cover for the picked window"
  pointer_to 260 210
  probe click 260 210
  wait_children 1
  clipboard_to "$shots/picked.bmp"
  expect_size "$shots/picked.bmp" 320x240
  expect_pattern "$shots/picked.bmp" 0 0
  [ "$(kd visible "$cover")" = 0 ] || fail "the cover stayed"
  finish_case
}

case_region_drag() {
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "RegionPage=1,1,255"
  start_kaptura
  show_pattern 200 150 400 300
  local cover
  cover=$(kd wait-window CoverWindow - 5) || fail "no cover window"
  kd hotkey "$frame" 3 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the region"
  probe drag 250 200 450 380
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Region Capture" || fail "no Region Capture window"
  [ "$(kd visible "$cover")" = 0 ] || fail "the cover stayed after the region"
  clipboard_to "$shots/region.bmp"
  expect_size "$shots/region.bmp" 200x180
  # The band's outline, inversion and size label are all gone from it.
  expect_pattern "$shots/region.bmp" 50 50
  # Dragged back across the anchor: the rectangle is normalised.
  kd hotkey "$frame" 3 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the second region"
  probe trace 500 400 550 420 300 250
  wait_children 2
  clipboard_to "$shots/backwards.bmp"
  expect_size "$shots/backwards.bmp" 200x150
  expect_pattern "$shots/backwards.bmp" 100 100
  finish_case
}

case_freehand_trace() {
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "FreehandPage=0,0,255"
  start_kaptura
  show_pattern 200 150 400 300
  local cover
  cover=$(kd wait-window CoverWindow - 5) || fail "no cover window"
  # The real pointer waits at the trace's start, as a user's would: the
  # cover coming up under it reports where the display has it, which must
  # agree with where the trace puts it.
  xdotool mousemove 400 200 || fail "xdotool cannot move the pointer"
  kd hotkey "$frame" 5 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the freehand"
  # A triangle with its top at (400, 200) and its base from 300 to 500 at 360.
  probe trace pen=255 400 200 500 360 300 360 400 200 || fail "the trace did not take each corner in turn"
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Freehand Capture" || fail "no Freehand Capture window"
  clipboard_to "$shots/freehand.bmp"
  expect_size "$shots/freehand.bmp" 201x161
  # Outside the triangle white, inside the pattern, the traced line not kept.
  [ "$(check pixel "$shots/freehand.bmp" 5 5)" = "255 255 255" ] || fail "a corner outside is not white"
  [ "$(check pixel "$shots/freehand.bmp" 195 10)" = "255 255 255" ] || fail "a corner outside is not white"
  expect_pattern "$shots/freehand.bmp" 100 50 80 80 40 60
  finish_case
}

case_pointer_and_button() {
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "ButtonPage=0" "CapturePage=0,0,0,0,0"
  start_kaptura
  # The pointer capture: the shape on white.
  pointer_to 600 500
  kd hotkey "$frame" 6 $Ctrl
  wait_children 1
  clipboard_to "$shots/pointer.bmp"
  expect_size "$shots/pointer.bmp" 32x32
  [ "$(check pixel "$shots/pointer.bmp" 31 31)" = "255 255 255" ] || fail "the pointer capture is not on white"
  [ "$(check pixel "$shots/pointer.bmp" 1 1)" != "255 255 255" ] || fail "no pointer in the pointer capture"
  # A screen capture with the pointer over the pattern has it drawn in.
  show_pattern 100 100 200 200
  sed -i 's/^ScreenPage=.*//' "$ini"
  pointer_to 150 150
  kd hotkey "$frame" 1 $Ctrl
  wait_children 2
  clipboard_to "$shots/with-pointer.bmp"
  local bad
  bad=$(check pattern "$shots/with-pointer.bmp" -100 -100 140 140 20 20)
  [ "$bad" -gt 0 ] || fail "the pointer was not drawn into the screen capture"
  expect_pattern "$shots/with-pointer.bmp" -100 -100 100 100 40 40
  # A push button under the cursor is found by its edges.
  probe button 700 300 90 30 120 >/dev/null &
  pids+=($!)
  kd wait-window KaptureProbeButtons - 10 >/dev/null || fail "no button window"
  # The button's highlight at its top-left corner, once it is painted.
  wait_screen_colour 720 320 "255,255,255" || fail "the button was never painted"
  pointer_to 760 335
  kd hotkey "$frame" 7 $Ctrl
  wait_children 3
  kd mdi-children "$frame" | grep -q "Button Capture" || fail "no Button Capture window"
  clipboard_to "$shots/button.bmp"
  # From its white top-left edge to its gray shadow edge: a push button's
  # black outer line on the right and bottom lies outside the shadow.
  expect_size "$shots/button.bmp" 89x29
  [ "$(check pixel "$shots/button.bmp" 0 0)" = "255 255 255" ] || fail "the button does not start on its highlight"
  finish_case
}

case_file_names() {
  # Numbered names in a dotted folder, no window: the files are the result.
  local folder="$case_dir/shots.v1"
  mkdir -p "$folder"
  seed_capture_ini "0,0,0,0,1,0,0,5,5" "ScreenPage=0,0,64,48,0,0" \
    "FileNameDirect=$(winpath "$folder")\\KAPT0008.BMP"
  start_kaptura
  for _ in 1 2 3; do kd hotkey "$frame" 1 $Ctrl; done
  sleep 1
  local name
  for name in KAPT0008 KAPT0009 KAPT0010; do
    [ -f "$folder/$name.BMP" ] || fail "no $name.BMP in the dotted folder: $(ls "$folder")"
  done
  expect_size "$folder/KAPT0010.BMP" 64x48
  [ "$(ls "$case_dir" | grep -c '^shots')" = 2 ] || fail "the folder name was changed"
  finish_case
  [ "$(ini_get FileNameDirect)" = "$(winpath "$folder")\\KAPT0011.BMP" ] || fail "next name: $(ini_get FileNameDirect)"

  # Day-and-time names keep the extension.
  seed_capture_ini "0,1,0,0,1,2,0,5,5" "ScreenPage=0,0,64,48,0,0" \
    "FileNameDirect=$(winpath "$folder")\\KAPT0000.BMP"
  start_kaptura
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  ls "$folder" | grep -Eq '^[0-9]{8}\.BMP$' || fail "no day-and-time name: $(ls "$folder")"
  finish_case

  # A file that cannot be written: the library's message, and the window
  # keeps its capture title.
  seed_capture_ini "0,1,0,0,1,0,0,5,5" "ScreenPage=0,0,64,48,0,0" \
    "FileNameDirect=$(winpath "$case_dir/missing")\\KAPT0000.BMP"
  start_kaptura
  local pid box
  pid=$(kd window-pid "$frame")
  kd post "$frame" 0x403 0x11010031 0 >/dev/null   # Ctrl+1 as the hook sends it, posted
  box=$(kd wait-dialog "$pid" "Format Error" 10) || fail "no message for the failed save"
  kd answer "$box" 1 >/dev/null
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "a failed save changed the title"
  finish_case
  [ "$(ini_get FileNameDirect)" = "$(winpath "$case_dir/missing")\\KAPT0000.BMP" ] \
    || fail "a failed save moved the number on"
}

case_clipboard_paste() {
  seed_capture_ini "0,1,0,0,0,0,0,5,5"
  start_kaptura
  check make "$shots/put.bmp" 97 61
  probe clipboard-put "$shots/put.bmp" || fail "could not put the bitmap"
  kd command "$frame" 32779 >/dev/null
  wait_children 1
  document_to "$shots/pasted.bmp"
  expect_size "$shots/pasted.bmp" 97x61
  expect_pattern "$shots/pasted.bmp" 0 0
  # Another program holds the clipboard open: the message, and no window.
  local pid box
  pid=$(kd window-pid "$frame")
  # Held long enough to outlast a slow start of the driver on a loaded
  # machine; the holder is ended once the message has been seen.
  local holder deadline=$((SECONDS + 20))
  # Straight into the file: through a pipe, "held" would wait in its buffer.
  kwine "$BIN/kprobe.exe" clipboard-hold 30 > "$case_dir/held" 2>/dev/null &
  holder=$!
  pids+=($holder)
  until grep -q held "$case_dir/held"; do
    [ $SECONDS -lt $deadline ] || fail "the clipboard was not taken"
    sleep 0.1
  done
  kd post-command "$frame" 32779 >/dev/null
  box=$(kd wait-dialog "$pid" - 10) || fail "no message with the clipboard held"
  kd dialog-text "$box" | grep -q "Cannot open Clipboard." || fail "not the clipboard message: $(kd dialog-text "$box")"
  kd answer "$box" 1 >/dev/null
  kill "$holder" 2>/dev/null || true
  sleep 0.5
  wait_children 1
  finish_case
}

case_color_operations() {
  # Each colour operation opens a window of its own; the colour option of a
  # capture turns the capture itself gray.
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "ScreenPage=0,0,64,48,0,0"
  start_kaptura
  show_pattern 0 0 64 48
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  local count=1 id title
  for pair in "32800:Grayscale" "32801:Invert" "32799:Black and White"; do
    id=${pair%%:*}; title=${pair#*:}
    kd hotkey "$frame" 1 $Ctrl
    count=$((count + 1)); wait_children $count
    if [ "$id" = 32799 ]; then
      # Black and White asks first: its dialog's OK converts.
      kd post-command "$frame" "$id" >/dev/null
      box=$(kd wait-dialog "$(kd window-pid "$frame")" "Black and White" 10) || fail "no Black and White dialog"
      kd answer "$box" 1 >/dev/null
    else
      kd command "$frame" "$id" >/dev/null
    fi
    count=$((count + 1)); wait_children $count
    kd mdi-children "$frame" | grep -q "$title" || fail "no $title window"
  done
  finish_case
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "ScreenPage=0,0,64,48,0,0" "CapturePage=1,0,0,0,2"
  start_kaptura
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "the gray capture lost its title"
  clipboard_to "$shots/gray.bmp"
  local pixel
  pixel=$(check pixel "$shots/gray.bmp" 10 10)
  set -- $pixel
  [ "$1" = "$2" ] && [ "$2" = "$3" ] || fail "the colour option did not turn the capture gray: $pixel"
  finish_case
}

case_no_leak_without_window() {
  # No destination at all: 200 captures leave the memory as it was.
  seed_capture_ini "0,0,0,0,0,0,0,5,5" "ScreenPage=0,0,640,480,0,0"
  start_kaptura
  local pid before after
  pid=$(kd window-pid "$frame")
  for _ in $(seq 5); do kd hotkey "$frame" 1 $Ctrl; done
  before=$(probe memory "$pid") || fail "cannot read the memory of the program"
  for _ in $(seq 200); do kd hotkey "$frame" 1 $Ctrl; done
  after=$(probe memory "$pid")
  echo "private bytes before $before, after $after"
  # One capture holds 900 KB: keeping even a handful would show.
  [ $((after - before)) -lt $((2 * 1024 * 1024)) ] || fail "memory grew by $((after - before)) bytes"
  [ "$(kd mdi-children "$frame" | grep -c .)" = 0 ] || fail "windows opened without the window destination"
  finish_case
}

case_failed_freeze() {
  # The cover window cannot be made (krefuse refuses its class), so the
  # screen cannot be frozen: a region request shows nothing and holds no
  # mouse, and a drag afterwards captures nothing.
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "RegionPage=1,1,255"
  hold_window_refusal 60
  KREFUSE_CLASS=CoverWindow start_kaptura
  [ -z "$(kd wait-window CoverWindow - 1)" ] || fail "the cover window was made"
  kd hotkey "$frame" 3 $Ctrl
  probe drag 250 200 450 380
  sleep 1
  [ "$(kd mdi-children "$frame" | grep -c .)" = 0 ] || fail "a region was captured without a frozen screen"
  # The program goes on: a screen capture still works.
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  kill "$holder" 2>/dev/null || true
  finish_case
}

case_print_destination() {
  # The printer destination prints the capture through the print library;
  # Print from the image window prints the notepad's text as it stands,
  # never saved. The PDFs are the ones of this case's jobs.
  local since="$case_dir/since" pdf text ppm
  [ "${PRINT_QUEUE_OK:-0}" = 1 ] || fail "no PDF print queue"
  seed_capture_ini "0,1,0,1,0,0,0,5,5" "ScreenPage=160,120,480,360,0,0" "PrintTimeDate=0,1,0,1,0,0,1,0,0,1"
  touch "$since"
  start_kaptura
  show_pattern 160 120 320 240
  pointer_to 1200 1000
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  pdf=$(newest_pdf "$since" "Screen_Capture") || fail "the capture was not printed"
  text=$(pdftotext -layout "$pdf" - | tr -s ' ')
  grep -Eq "printed by Kaptura 99 at [0-9]+:[0-9]{2}:[0-9]{2} on [A-Z][a-z]+day, " <<<"$text" || fail "header: $text"
  grep -Fq "Screen Capture," <<<"$text" || fail "footer name: $text"
  grep -Fq "320w x 240h" <<<"$text" || fail "footer size: $text"
  pdftoppm -r 300 -f 1 -l 1 "$pdf" "$case_dir/printed"
  ppm=$(ls "$case_dir"/printed*.ppm | head -1)
  # The PDF printer compresses pictures with loss: pixels where the pattern
  # jumps may be off; almost all must match.
  result=$(python3 "$here/../print/print_check.py" screen "$ppm" 320 240 3 4 2>/dev/null)
  read -r _ bad _ total <<<"$result"
  [ "$total" -gt 8000 ] && [ $((bad * 50)) -le "$total" ] || fail "printed capture: $result"
  # A note typed into the notepad, opened for it, and never saved, then
  # File Print.
  kd command "$frame" 32785 >/dev/null   # View Notepad
  edit=$(kd children "$frame" | awk -F'\t' '$2 == "Edit" {print $1; exit}')
  [ -n "$edit" ] || fail "no notepad"
  kd set-window-text "$edit" "typed but not saved $$" || fail "the note could not be typed"
  touch "$since"
  sleep 1
  kd post-command "$frame" 0xE107 >/dev/null
  # File Print shows the print options sheet first; its OK prints.
  sheet=$(kd wait-dialog - "Kaptura 99 Print" 30) || fail "no print options sheet"
  sleep 1
  kd answer "$sheet" 1 >/dev/null   # the sheet's OK button
  kd wait-gone "$sheet" 20 || fail "the options sheet stayed open"
  pdf=$(newest_pdf "$since" "Screen_Capture" "typed but not saved $$") ||
    fail "Print printed nothing, or not the notepad's text"
  finish_case
}

# A title-and-menu capture of the window with menus (title bar, menu bar and
# pulldown): one rectangle of the screen as it was ($2) from the window's
# corner down to the bottom of the open menu.
expect_title_and_menu() {
  local wl wt wr wb pl pt pr pb width height bad
  read -r wl wt wr wb <<< "$(window_rect "$menus")"
  read -r pl pt pr pb <<< "$popup"
  read -r width height <<< "$(check size "$1" | cut -d' ' -f1 | tr x ' ')"
  [ "$height" = $((pb - wt)) ] || fail "$1 is ${width}x$height, not down to the menu's bottom ($((pb - wt)))"
  [ "$width" -ge $((wr - wl)) ] && [ "$width" -le $((wr - wl + 2)) ] ||
    fail "$1 is $width wide, not the window's $((wr - wl))"
  bad=$(check same-area "$1" 0 0 "$2" "$wl" "$wt" $((wr - wl)) "$height")
  [ "$bad" = 0 ] || fail "$bad pixels of $1 differ from the screen with the menu open"
}

# Starts the program with the given page setting over the probe's window
# with its File menu open, in a virtual desktop.
start_over_open_menu() {
  use_virtual_desktop 1280x1024
  seed_capture_ini "0,1,1,0,0,0,0,5,5" "$1" "${quiet_captions[@]}"
  start_kaptura
  show_menus 200 150 420 300
  open_file_menu
}

# Screenshot to $1, the hot key $2 pressed, and the capture's window
# (titled $3) open with the capture on the clipboard, saved to $4.
capture_open_menu() {
  screen_to "$1"
  xdotool key "$2" || fail "xdotool cannot press keys"
  wait_children 1
  kd mdi-children "$frame" | grep -qx "$3" || fail "no $3 window"
  clipboard_to "$4"
}

# The pointer slides along the open menu bar from item to item, each menu
# taking the last one's place, and hot key $1 captures each into
# $shots/slide-<n>.bmp, checked by $2 (capture, screen, item). Several
# slides: a program that noticed only some of them is caught.
slide_and_capture() {
  local items=("$edit_item" "$file_item" "$edit_item" "$file_item") n windows
  windows=$(kd mdi-children "$frame" | grep -c .)
  for n in "${!items[@]}"; do
    hover_menu_item "${items[n]}"
    screen_to "$shots/slide-$n-open.bmp"
    xdotool key "$1" || fail "xdotool cannot press keys"
    wait_children $((windows + n + 1))
    clipboard_to "$shots/slide-$n.bmp"
    "$2" "$shots/slide-$n.bmp" "$shots/slide-$n-open.bmp" "${items[n]}"
  done
}

case_title_and_menu() {
  # Another program's File menu, opened and captured with real input: Ctrl+4
  # takes its title bar, its menu bar and the open menu.
  start_over_open_menu "TitleMenuPage=1,1,1,0,0"
  capture_open_menu "$shots/file-open.bmp" ctrl+4 "Menu Capture" "$shots/file-menu.bmp"
  expect_title_and_menu "$shots/file-menu.bmp" "$shots/file-open.bmp"
  # The pointer slides along the bar: each menu that opens in the last one's
  # place is the next capture's.
  slide_and_capture ctrl+4 expect_title_and_menu
  xdotool key Escape Escape   # the menu closes before the programs end
  finish_case
}

case_title_and_menu_cascade() {
  # The pointer on the File menu's last item, whose cascading menu opens:
  # the capture is still File's (cascades are not asked for here).
  start_over_open_menu "TitleMenuPage=1,1,1,0,0"
  open_cascade
  capture_open_menu "$shots/cascade-open.bmp" ctrl+4 "Menu Capture" "$shots/cascade-menu.bmp"
  expect_title_and_menu "$shots/cascade-menu.bmp" "$shots/cascade-open.bmp"
  xdotool key Escape Escape Escape
  finish_case
}

# A command-bar capture ($1) of the window with menus over the screen as
# it was ($2), with the menu bar's item $3 open: the bar and the open menu
# below it, each as on the screen, on white.
expect_command_bar() {
  local wl wt wr wb pl pt pr pb il it ir ib fl ft fr fb width height left top bad
  read -r wl wt wr wb <<< "$(window_rect "$menus")"
  read -r pl pt pr pb <<< "$popup"
  read -r il it ir ib <<< "$3"
  read -r fl ft fr fb <<< "$file_item"
  read -r width height <<< "$(check size "$1" | cut -d' ' -f1 | tr x ' ')"
  [ "$width" -lt $((wr - wl + 2)) ] && [ "$width" -gt $((pr - pl)) ] ||
    fail "$1 is $width wide, not the menu bar's width"
  [ "$height" -gt $((pb - pt)) ] && [ "$height" -lt $((pb - pt + 2 * (ib - it) + 4)) ] ||
    fail "$1 is $height high, not the bar and the menu below it"
  # Its bottom is the menu's; its left the bar's, one pixel left of the
  # first item.
  left=$((fl - 1)); top=$((pb - height))
  bad=$(check same-area "$1" $((pl - left)) $((pt - top)) "$2" "$pl" "$pt" $((pr - pl)) $((pb - pt)))
  [ "$bad" = 0 ] || fail "$bad pixels of the menu in $1 differ from the screen"
  bad=$(check same-area "$1" $((il - left)) $((it - top)) "$2" "$il" "$it" $((ir - il)) $((ib - it)))
  [ "$bad" = 0 ] || fail "$bad pixels of the open item in $1 differ from the screen"
  # Beside the menu, below the bar, the window's own picture is left out.
  [ "$(check pixel "$1" $((width - 5)) $((height - 5)))" = "255 255 255" ] ||
    fail "$1 is not assembled on white"
}

case_command_bar_menu() {
  # The Command Bar hot key (Ctrl+8) over another program's open File menu:
  # its menu bar and the menu below it.
  start_over_open_menu "CommandBarPage=1,1,0"
  capture_open_menu "$shots/open.bmp" ctrl+8 "Command Bar Capture" "$shots/command-bar.bmp"
  expect_command_bar "$shots/command-bar.bmp" "$shots/open.bmp" "$file_item"
  # The pointer slides along the bar: each capture has the menu that opened
  # last below the bar.
  slide_and_capture ctrl+8 expect_command_bar
  xdotool key Escape Escape
  finish_case
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
