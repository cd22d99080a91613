#!/usr/bin/env bash
# End-to-end cases of the Capture Setup sheet and the Hotkey Setup dialog:
# capture_setup_e2e.sh <case>. The sheet is driven through its own windows
# (page selection, clicks on its controls, typed texts, its buttons); the
# ini file is the judge. Screenshots of every page and of the keyboard are
# left in $E2E_ROOT/setup-shots.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

shots="$E2E_ROOT/setup-shots"
mkdir -p "$shots"
shot() { import-im6.q16 -window root "$shots/$1.png"; }

PSM_SETCURSEL=0x465
PSM_GETCURRENTPAGEHWND=0x476
PSM_INDEXTOHWND=0x482
BM_CLICK=0xF5
BM_GETCHECK=0xF0
WM_LBUTTONDOWN=0x201

# Opens the sheet from the Options menu; sets $sheet.
open_sheet() {
  kd post-command "$frame" 32811 >/dev/null
  sheet=$(kd wait-dialog "$pid" "Capture Setup" 10) || fail "no Capture Setup sheet"
}
# Shows page $1 of the sheet, every control of it whole; sets $page to its
# window.
# The sheet may still be making its pages when it first shows: asked again
# until the current page is page $1.
show_page() {
  local wanted cut deadline=$((SECONDS + 10))
  while :; do
    kd send "$sheet" $PSM_SETCURSEL "$1" 0 >/dev/null
    wanted=$(printf '0x%x' "$(kd send "$sheet" $PSM_INDEXTOHWND "$1" 0)")
    page=$(printf '0x%x' "$(kd send "$sheet" $PSM_GETCURRENTPAGEHWND 0 0)")
    if [ "$page" != 0x0 ] && [ "$page" = "$wanted" ]; then
      cut=$(kd cut-off "$page")
      [ -z "$cut" ] || fail "page $1 cuts off: $cut"
      cut=$(kd text-fit "$page")
      [ -z "$cut" ] || fail "page $1 cuts texts: $cut"
      return 0
    fi
    [ $SECONDS -lt $deadline ] || fail "no page $1"
    sleep 0.2
  done
}
# A click on control $1 of the page (or of window $2).
click() {
  local item
  item=$(kd item "${2:-$page}" "$1") || fail "no control $1"
  kd send "$item" $BM_CLICK 0 0 >/dev/null
}
# The same, posted: for controls that open a dialog of their own.
click_posted() {
  local item
  item=$(kd item "${2:-$page}" "$1") || fail "no control $1"
  kd post "$item" $BM_CLICK 0 0 >/dev/null
}
checked() { kd send "$(kd item "$page" "$1")" $BM_GETCHECK 0 0; }
enabled() { kd enabled "$(kd item "$page" "$1")"; }
type_in() { kd set-text "$page" "$1" "$2" >/dev/null; }
press_ok() { kd answer "$sheet" 1 >/dev/null; kd wait-gone "$sheet" 10 >/dev/null || fail "the sheet stayed open"; }
press_cancel() { kd answer "$sheet" 2 >/dev/null; kd wait-gone "$sheet" 10 >/dev/null || fail "the sheet stayed open"; }

expect_key() {
  local got
  got=$(ini_get "$1")
  [ "$got" = "$2" ] || fail "$1 is '$got', not '$2'"
}

# The box a refusal shows: its text must contain $1; it is closed.
expect_message() {
  local box
  box=$(kd wait-dialog "$pid" "Kaptura 99" 10) || fail "no message box for '$1'"
  kd dialog-text "$box" | tr '\n' ' ' | grep -qF "$1" || fail "message '$(kd dialog-text "$box" | tr '\n' ' ')', not '$1'"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 >/dev/null || true
}

start() {
  start_kaptura
  pid=$(kd window-pid "$frame")
}

case_pages_round_trip() {
  seed_ini
  start
  open_sheet
  shot sheet-sendto
  show_page 0
  [ "$(checked 1750)" = 1 ] || fail "a fresh file does not send to the window"
  [ "$(enabled 1762)" = 0 ] || fail "S&et File... enabled without File"
  click 1751; click 1752; click 1753; click 1760; click 1756
  [ "$(enabled 1762)" = 1 ] && [ "$(enabled 1760)" = 1 ] || fail "File did not enable its options"
  [ "$(enabled 1761)" = 1 ] || fail "Printer did not enable its options"
  type_in 1754 17; type_in 1763 1200
  shot page-sendto

  show_page 1
  [ "$(enabled 1774)" = 0 ] && [ "$(enabled 1775)" = 0 ] || fail "Set buttons enabled at first"
  click 1764; click 1766; click 1767; click 1768; click 1770
  [ "$(enabled 1774)" = 1 ] || fail "Set Frame not enabled by Add Frame"
  [ "$(enabled 1775)" = 1 ] || fail "Set Black & White not enabled by its colour option"
  shot page-capture
  click 1772
  [ "$(enabled 1775)" = 0 ] || fail "Set Black & White enabled for Invert"

  show_page 2
  kd dialog-text "$page" | grep -qx "Hotkey: Ctrl + 1" || fail "Screen hot key line: $(kd dialog-text "$page" | tr '\n' '|')"
  click 1786
  type_in 1782 10; type_in 1783 20; type_in 1784 330; type_in 1785 240
  click 1787; type_in 1788 45
  shot page-screen

  show_page 3
  click 1793; click 1794; click 1795; click 1796; click 1797; click 1798; type_in 1799 600
  shot page-window

  show_page 4
  click 1803
  shot page-region

  show_page 5
  shot page-titlemenu-default
  click 1817      # title with pulldown: the menu bar comes too
  [ "$(checked 1818)" = 1 ] || fail "Title Bar with Pulldown did not tick Menu Bar"
  click 1821
  shot page-titlemenu

  show_page 6
  click 1809; click 1810
  shot page-freehand

  show_page 7
  click 1363
  shot page-button

  show_page 8
  click 1248
  shot page-commandbar

  show_page 9
  [ "$(enabled 1145)" = 1 ] && [ "$(enabled 1831)" = 1 ] || fail "the Test buttons start disabled"
  click 1140
  [ "$(enabled 1145)" = 0 ] || fail "the sound Test stays enabled without a sound"
  click 1143; click 1829
  [ "$(enabled 1145)" = 1 ] || fail "the sound Test stays disabled with a sound"
  click 1145; click 1831      # sound 3, then the flash over the stored screen area
  shot page-notify
  press_ok

  expect_key SendtoPage "9,1,1,1,1,2,1,17,1200"
  expect_key CapturePage "1,1,0,1,3"
  expect_key ScreenPage "10,20,330,240,1,45"
  expect_key WindowPage "1,0,0,0,0,1,600"
  expect_key RegionPage "0,1,0"
  expect_key TitleMenuPage "1,1,1,1,0"
  expect_key FreehandPage "0,0,0"
  expect_key ButtonPage "0"
  expect_key CommandBarPage "1,1,0"
  expect_key NotifyPage "3,3"

  # The next opening starts on the page active at OK, with the values kept.
  open_sheet
  page=$(printf '0x%x' "$(kd send "$sheet" $PSM_GETCURRENTPAGEHWND 0 0)")
  kd dialog-text "$page" | grep -q "Select a sound effect" || fail "the sheet did not open on Notification"
  [ "$(checked 1143)" = 1 ] || fail "Sound 3 not kept"
  # No destination at all stores the window.
  show_page 0
  click 1750; click 1751; click 1752; click 1753
  press_ok
  expect_key SendtoPage "0,1,0,0,0,2,1,17,1200"
  exit_kaptura
}

case_cancel_keeps_file() {
  seed_ini "SendtoPage=2,0,1,0,0,0,0,5,5" "NotifyPage=0,0"
  start
  cp "$ini" "$case_dir/before.ini"
  open_sheet
  page=$(printf '0x%x' "$(kd send "$sheet" $PSM_GETCURRENTPAGEHWND 0 0)")
  kd dialog-text "$page" | grep -q "Hotkey: Ctrl + 1" || fail "the sheet did not open on the page of the last OK"
  for p in 0 1 3 9; do
    show_page $p
    case $p in
      0) click 1750; type_in 1754 99 ;;
      1) click 1766 ;;
      3) click 1798 ;;
      9) click 1141 ;;
    esac
  done
  press_cancel
  cmp -s "$ini" "$case_dir/before.ini" || fail "Cancel changed the ini: $(diff "$case_dir/before.ini" "$ini" | tr -d '\r')"
  # Opening Hotkey Setup from a page and cancelling it writes nothing either.
  open_sheet
  show_page 4
  click_posted 1252
  local hotkeys
  hotkeys=$(kd wait-dialog "$pid" "Hotkey Setup" 10) || fail "no Hotkey Setup from the Region page"
  kd answer "$hotkeys" 2 >/dev/null
  kd wait-gone "$hotkeys" 5 >/dev/null
  press_cancel
  cmp -s "$ini" "$case_dir/before.ini" || fail "Cancel in Hotkey Setup changed the ini"
  exit_kaptura
}

case_margin_refused() {
  seed_ini
  start
  cp "$ini" "$case_dir/before.ini"
  open_sheet
  show_page 0
  type_in 1754 5000
  kd answer "$sheet" 1 >/dev/null
  expect_message "Please enter an integer between 0 and 1200."
  kd wait-gone "$sheet" 1 >/dev/null && fail "the sheet closed on a refused value"
  cmp -s "$ini" "$case_dir/before.ini" || fail "a refused value wrote the ini"
  # Each range of the kind pages refuses the same way.
  type_in 1754 5
  show_page 2
  type_in 1788 601
  kd answer "$sheet" 1 >/dev/null
  expect_message "Please enter an integer between 0 and 600."
  type_in 1788 600
  show_page 3
  type_in 1799 700
  kd post "$sheet" $PSM_SETCURSEL 0 0 >/dev/null    # leaving the page checks it too
  expect_message "Please enter an integer between 0 and 600."
  type_in 1799 0
  # The Command Bar page keeps itself while it captures nothing.
  show_page 8
  click 1370; click 1371
  kd post "$sheet" $PSM_SETCURSEL 9 0 >/dev/null
  expect_message "Must select at least one capture option."
  kd dialog-text "$(printf '0x%x' "$(kd send "$sheet" $PSM_GETCURRENTPAGEHWND 0 0)")" | grep -q "Method 1" \
    || fail "another page was shown"
  kd answer "$sheet" 1 >/dev/null                    # nor may OK store it so
  expect_message "Must select at least one capture option."
  kd wait-gone "$sheet" 1 >/dev/null && fail "OK stored a Command Bar page that captures nothing"
  click 1370
  press_ok
  expect_key ScreenPage "0,0,1280,1024,0,600"
  expect_key WindowPage "0,1,1,1,1,0,0"
  expect_key CommandBarPage "1,0,1"
  exit_kaptura
}

case_garbage_keys() {
  seed_ini "SendtoPage=x,-4,,7,abc,9,-1,99999,-3" "CapturePage=1" "ScreenPage=-50,junk" \
    "WindowPage=5,5,5,5,5,5,9999" "RegionPage=" "TitleMenuPage=,,," "FreehandPage=-1,-1,-99" \
    "ButtonPage=zz" "CommandBarPage=7" "NotifyPage=9,-9"
  start
  open_sheet
  shot sheet-garbage
  press_ok
  # OK and Cancel over and over leave the same well-formed keys.
  for _ in 1 2 3; do
    open_sheet; press_cancel
    open_sheet; press_ok
  done
  local key value counts="SendtoPage:9 CapturePage:5 ScreenPage:6 WindowPage:7 RegionPage:3 TitleMenuPage:5 FreehandPage:3 ButtonPage:1 CommandBarPage:3 NotifyPage:2"
  for pair in $counts; do
    key=${pair%%:*}
    value=$(ini_get "$key")
    [[ "$value" =~ ^-?[0-9]+(,-?[0-9]+)*$ ]] || fail "$key is not well-formed: '$value'"
    [ "$(tr ',' '\n' <<<"$value" | wc -l)" = "${pair#*:}" ] || fail "$key has the wrong count: '$value'"
  done
  expect_key SendtoPage "0,1,1,0,1,0,1,0,5"
  expect_key ScreenPage "0,0,1280,1024,0,10"
  expect_key WindowPage "0,1,1,1,1,1,600"
  expect_key NotifyPage "1,1"
  exit_kaptura
}

case_file_by_time() {
  local folder="$case_dir/shots"
  mkdir -p "$folder"
  seed_ini "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0" "ScreenPage=0,0,64,48,0,0" \
    "FileNameDirect=$(printf 'Z:%s' "$folder" | tr '/' '\\')\\KAPT0000.BMP"
  start
  open_sheet
  show_page 0
  click 1753; click 1760
  press_ok
  expect_key SendtoPage "0,1,0,0,1,2,0,5,5"
  kd hotkey "$frame" 1 c
  wait_children 1
  ls "$folder" | grep -Eq '^[0-9]{8}\.BMP$' || fail "no file named by the time: $(ls "$folder")"
  exit_kaptura
}

# ---- Hotkey Setup ----

open_hotkeys() {
  kd post-command "$frame" 32814 >/dev/null
  hotkeys=$(kd wait-dialog "$pid" "Hotkey Setup" 10) || fail "no Hotkey Setup dialog"
  local cut
  cut=$(kd text-fit "$hotkeys" "MS Sans Serif")
  [ -z "$cut" ] || fail "Hotkey Setup cuts texts: $cut"
}
# Clicks on key cap $1 (key index) and on radio $1, posted in order (a cap
# may answer with a message box); settle waits until they are handled.
cap() { kd post "$(kd item "$hotkeys" $((100 + $1)))" $WM_LBUTTONDOWN 1 0x00050005 >/dev/null; }
row() { kd post "$(kd item "$hotkeys" "$1")" $BM_CLICK 0 0 >/dev/null; }
settle() { sleep 0.5; }
hotkeys_ok() { settle; kd answer "$hotkeys" 1 >/dev/null; }

case_hotkey_moves_screen() {
  seed_ini "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "ScreenPage=0,0,64,48,0,0"
  start
  open_hotkeys
  shot hotkeys-default
  row 1835
  cap 9          # F9
  cap 85         # right Shift: both Shift caps
  settle
  shot hotkeys-screen-ctrl-shift-f9
  hotkeys_ok
  kd wait-gone "$hotkeys" 5 >/dev/null || fail "Hotkey Setup refused Ctrl+Shift+F9"
  expect_key NormalKey "9,18,19,20,21,22,23,24"
  expect_key SystemKey1 "0,1,1,0"
  expect_key SystemKey2 "0,0,1,0"
  # Typed on the keyboard, with another program in front.
  probe pattern 200 200 300 200 900 >/dev/null &
  pids+=($!)
  kd wait-window KaptureProbePattern - 10 >/dev/null || fail "no pattern window"
  sleep 0.5
  xdotool key ctrl+1
  sleep 2
  [ "$(kd mdi-children "$frame" | grep -c .)" = 0 ] || fail "Ctrl+1 still captures"
  xdotool key ctrl+shift+F9
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "Ctrl+Shift+F9 did not capture the screen"
  # The Screen page shows the new hot key.
  open_sheet
  show_page 2
  kd dialog-text "$page" | grep -qx "Hotkey: Ctrl + Shift + F9" || fail "Screen page line: $(kd dialog-text "$page" | tr '\n' '|')"
  # "Change Hotkey" opens on the page's row; its OK stores at once and the
  # line follows, even though the sheet is cancelled afterwards.
  click_posted 1250
  hotkeys=$(kd wait-dialog "$pid" "Hotkey Setup" 10) || fail "no Hotkey Setup from the Screen page"
  cap 10
  hotkeys_ok
  kd wait-gone "$hotkeys" 5 >/dev/null || fail "Hotkey Setup refused Ctrl+Shift+F10"
  kd dialog-text "$page" | grep -qx "Hotkey: Ctrl + Shift + F10" || fail "the line did not follow: $(kd dialog-text "$page" | tr '\n' '|')"
  press_cancel
  expect_key NormalKey "10,18,19,20,21,22,23,24"
  open_hotkeys
  cap 9
  hotkeys_ok
  kd wait-gone "$hotkeys" 5 >/dev/null || fail "Hotkey Setup refused F9 again"
  # The Options menu opens on the row confirmed last.
  open_hotkeys
  [ "$(kd send "$(kd item "$hotkeys" 1835)" $BM_GETCHECK 0 0)" = 1 ] || fail "not opened on the Screen row"
  row 1837
  hotkeys_ok
  kd wait-gone "$hotkeys" 5 >/dev/null
  open_hotkeys
  [ "$(kd send "$(kd item "$hotkeys" 1837)" $BM_GETCHECK 0 0)" = 1 ] || fail "not opened on the Region row"
  kd answer "$hotkeys" 2 >/dev/null
  kd wait-gone "$hotkeys" 5 >/dev/null
  for probe_window in $(kd wait-window KaptureProbePattern - 0.1 2>/dev/null); do kd close "$probe_window" >/dev/null || true; done
  exit_kaptura
}

case_hotkey_conflicts() {
  seed_ini
  start
  cp "$ini" "$case_dir/before.ini"
  open_hotkeys
  cap 1
  expect_message "F1 is used for Help command in all Windows applications."
  # Screen on Shift+A, Window on keypad 7 without Shift.
  row 1835; cap 59; cap 74
  row 1836; cap 54
  hotkeys_ok
  expect_message "Shift cannot be used with number keys on the numeric keypad."
  kd dialog-text "$hotkeys" >/dev/null || fail "the dialog closed on a refusal"
  # Back to the defaults, then Screen on Ctrl+1 and Window on Alt+1.
  kd answer "$hotkeys" 1843 >/dev/null
  row 1836; cap 17; cap 91; cap 92
  hotkeys_ok
  expect_message "Identical hotkey assignments:"
  kd answer "$hotkeys" 1843 >/dev/null
  row 1836; cap 17
  hotkeys_ok
  expect_message "Screen and Window captures."
  # Title and Menu with Esc.
  kd answer "$hotkeys" 1843 >/dev/null
  row 1838; cap 0
  hotkeys_ok
  expect_message "Alt or Esc key cannot be used as a Title and Menu capture Hotkey"
  # Button may not share with the Screen row; Command Bar may.
  kd answer "$hotkeys" 1843 >/dev/null
  row 1841; cap 17
  hotkeys_ok
  expect_message "Screen and Button captures."
  kd answer "$hotkeys" 1843 >/dev/null
  row 1375; cap 17
  settle
  shot hotkeys-command-bar-on-1
  kd answer "$hotkeys" 2 >/dev/null
  kd wait-gone "$hotkeys" 5 >/dev/null || fail "Cancel did not close Hotkey Setup"
  cmp -s "$ini" "$case_dir/before.ini" || fail "refusals or Cancel wrote the ini"
  open_hotkeys
  row 1375; cap 17
  hotkeys_ok
  kd wait-gone "$hotkeys" 5 >/dev/null || fail "Command Bar sharing Ctrl+1 was refused"
  expect_key NormalKey "17,18,19,20,21,22,23,17"
  exit_kaptura
}

# Button $1 of the page opens the colour dialog, which gets red, green,
# blue $2 $3 $4 and OK.
pen_color() {
  local chooser
  click_posted "$1"
  chooser=$(kd wait-dialog "$pid" Color 10) || fail "button $1 opened no colour dialog"
  kd set-text "$chooser" 706 "$2" >/dev/null
  kd set-text "$chooser" 707 "$3" >/dev/null
  kd set-text "$chooser" 708 "$4" >/dev/null
  kd answer "$chooser" 1 >/dev/null
  kd wait-gone "$chooser" 10 >/dev/null || fail "the colour dialog stayed"
}

case_pen_colors_and_full_screen() {
  seed_ini "ScreenPage=10,20,330,240,0,10"
  start
  local width height
  read -r width height <<< "$(xdpyinfo | awk '/dimensions:/ {split($2, size, "x"); print size[1], size[2]}')"
  [ -n "$height" ] || fail "no screen size"
  open_sheet
  # "Set to Full Screen" alone fills the four edits: nothing is typed after it.
  show_page 2
  click 1786
  # The pens of Region and Freehand keep the colours chosen for them.
  show_page 4
  pen_color 1806 12 34 56
  show_page 6
  pen_color 1812 200 100 50
  shot pen-colors
  press_ok
  expect_key ScreenPage "0,0,$width,$height,0,10"
  expect_key RegionPage "1,1,$((56 * 65536 + 34 * 256 + 12))"
  expect_key FreehandPage "1,1,$((50 * 65536 + 100 * 256 + 200))"
}

"case_$1"
