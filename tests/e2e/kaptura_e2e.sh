#!/usr/bin/env bash
# End-to-end cases of the capture program under Wine: kaptura_e2e.sh <case>.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

Ctrl=c
ShiftCtrlAlt=sca

case_single_instance() {
  # Set to run in the background: a second start brings the running frame
  # forward and changes no setting; the second process writes nothing.
  seed_ini "RunMode=0,0,0,0,0,0,0,0,1"
  start_kaptura
  sleep 1
  [ "$(kd visible "$frame")" = 0 ] || fail "the frame shows with RunMode value 4 off"
  local before win_ini="$WINEPREFIX/drive_c/windows/win.ini"
  before=$(md5sum < "$ini")
  local win_before=""
  [ -f "$win_ini" ] && win_before=$(md5sum < "$win_ini")
  # A second start finds the first by its window property and ends.
  (cd "$app" && exec "$KAPTURA_WINE" Kaptura99.exe >/dev/null 2>&1) &
  local second=$!
  for _ in $(seq 100); do kill -0 "$second" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$second" 2>/dev/null && fail "the second instance is still running"
  kd wait-visible "$frame" 1 5 || fail "the first instance was not brought forward"
  [ "$(kd find-prop Kaptura 1)" = "$frame" ] || fail "another main window appeared"
  [ "$(md5sum < "$ini")" = "$before" ] || fail "the second start wrote the settings file"
  local win_after=""
  [ -f "$win_ini" ] && win_after=$(md5sum < "$win_ini")
  [ "$win_after" = "$win_before" ] || fail "the second start wrote win.ini"
  exit_kaptura
  [ "$(ini_get RunMode | cut -d, -f4)" = 0 ] || fail "a second start switched the program to showing its window"
}

case_frame_failure() {
  # The main frame cannot be made (its status bar is refused): the program
  # ends quietly, with no window and without touching the settings.
  seed_ini "Format=1,0,0,0,0,0,0,0,0,0"
  local before status=0
  before=$(md5sum < "$ini")
  hold_window_refusal 40
  (cd "$app" && KREFUSE_CLASS=msctls_statusbar32 exec timeout 30 "$KAPTURA_WINE" Kaptura99.exe >/dev/null 2>&1) || status=$?
  [ "$status" = 0 ] || fail "start-up without a main frame ended with status $status"
  [ -z "$(kd find-prop Kaptura 1)" ] || fail "a main window appeared"
  [ "$(md5sum < "$ini")" = "$before" ] || fail "the settings file was written"
}

case_run_modes() {
  # Show main window off: the program runs in the background, reachable by
  # its hot keys.
  seed_ini "RunMode=0,0,0,0,0,0,0,0,1"
  start_kaptura
  sleep 1
  [ "$(kd visible "$frame")" = 0 ] || fail "the frame shows with RunMode value 4 off"
  kd hotkey "$frame" 6 $Ctrl
  wait_children 1
  exit_kaptura
  # Minimised and shown: the frame starts as an icon.
  seed_ini "RunMode=0,1,0,1,0,0,0,0,1"
  start_kaptura
  kd wait-visible "$frame" 1 5 || fail "the frame is not shown"
  [ "$(kd iconic "$frame")" = 1 ] || fail "the frame did not start minimised"
  # Show the program restores it.
  kd hotkey "$frame" F $ShiftCtrlAlt
  sleep 0.5
  [ "$(kd iconic "$frame")" = 0 ] || fail "Shift+Ctrl+Alt+F left the frame minimised"
  exit_kaptura
}

case_hotkeys() {
  seed_ini
  start_kaptura
  wait_status 4 "000"
  kd hotkey "$frame" 1 $Ctrl                   # row 1: screen
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "no Screen Capture window"
  kd hotkey "$frame" 6 $Ctrl                   # row 6: pointer
  wait_children 2
  kd mdi-children "$frame" | grep -qx "Pointer Capture" || fail "no Pointer Capture window"
  kd hotkey "$frame" 9 $Ctrl                   # no row
  kd hotkey "$frame" 1 ""                      # no Ctrl: no row either
  kd hotkey "$frame" 1 "cs"                    # an extra Shift: no row
  sleep 0.5
  wait_children 2
  wait_status 4 "002"
  wait_status 1 "32w x 32h"
  kd status-text "$frame" 1 | grep -Eq '^[0-9]+w x [0-9]+h$' || fail "image size pane"
  kd status-text "$frame" 2 | grep -q -- '-bit, ' || fail "image depth pane"
  # Requests as the hook library sends them: a menu notice and an unknown
  # type capture nothing; a strip press and release capture the slot's kind
  # (slot 0 is Screen).
  kd send "$frame" 0x401 15 1 >/dev/null
  kd send "$frame" 0x401 99 0 >/dev/null
  sleep 0.5
  wait_children 2
  kd send "$frame" 0x401 14 0 >/dev/null
  kd send "$frame" 0x401 13 0 >/dev/null
  wait_children 3
  [ "$(kd mdi-children "$frame" | grep -cx "Screen Capture")" = 2 ] || fail "the strip's Screen slot did not capture"
  mkdir -p "$E2E_ROOT/shots"
  /usr/bin/import-im6.q16 -window root "$E2E_ROOT/shots/main-frame.png" 2>/dev/null || true
  exit_kaptura
}

case_strip_press() {
  # Screen countdown on, three seconds (time for the press to come in while
  # it runs). A strip press during the countdown is dropped; its release,
  # once the countdown is over, captures nothing.
  seed_ini "ScreenPage=0,0,200,100,1,3"
  start_kaptura
  kd hotkey "$frame" 1 $Ctrl
  kd send "$frame" 0x401 14 0 >/dev/null
  wait_children 1
  kd send "$frame" 0x401 13 0 >/dev/null
  sleep 2
  [ "$(kd mdi-children "$frame" | grep -c .)" = 1 ] || fail "a release without its press captured"
  # A press and its release capture the slot's kind (slot 0: Screen), once.
  kd send "$frame" 0x401 14 0 >/dev/null
  kd send "$frame" 0x401 13 0 >/dev/null
  kd send "$frame" 0x401 13 0 >/dev/null
  wait_children 2
  sleep 2
  [ "$(kd mdi-children "$frame" | grep -c .)" = 2 ] || fail "one press captured more than once"
  exit_kaptura
}

case_hide_show() {
  seed_ini
  start_kaptura
  kd hotkey "$frame" B $ShiftCtrlAlt
  kd wait-visible "$frame" 0 5 || fail "Shift+Ctrl+Alt+B left the frame shown"
  # The settings were written at once, with the frame hidden.
  [ "$(ini_get RunMode | cut -d, -f4)" = 0 ] || fail "RunMode not written with the frame hidden"
  [ -n "$(ini_get Format)" ] && [ -n "$(ini_get NormalKey)" ] && [ -n "$(ini_get SendtoPage)" ] \
    || fail "not every key was written"
  # With Esc held too it is still the hide/show key, and a row on the same
  # keys does not take it.
  kd hotkey "$frame" F "esca"
  kd wait-visible "$frame" 1 5 || fail "Shift+Ctrl+Alt+F did not show the frame"
  exit_kaptura
  [ "$(ini_get RunMode | cut -d, -f4)" = 1 ] || fail "RunMode not back to shown"
}

case_countdown() {
  # Screen countdown on, three seconds: time for the second key to come in
  # while it runs, even on a loaded machine.
  seed_ini "ScreenPage=0,0,200,100,1,3"
  start_kaptura
  kd hotkey "$frame" 1 $Ctrl
  kd hotkey "$frame" 6 $Ctrl                   # dropped: the countdown runs
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "no Screen Capture after the countdown"
  sleep 0.5
  wait_children 1
  wait_status 1 "200w x 100h"
  exit_kaptura
}

case_mouse_selection() {
  # The logo keeps the program starting while the first request comes in.
  seed_ini "WindowPage=1,1,1,1,1,0,10" "RunMode=0,0,1,1,0,0,0,0,1"
  start_kaptura
  local cover
  cover=$(kd wait-window CoverWindow - 5) || fail "no cover window"
  [ "$(kd visible "$cover")" = 0 ] || fail "the cover window shows before any selection"
  # Region: the frozen screen comes up, and the rest of the start does not
  # take it down; a new request abandons the selection and the cover.
  kd hotkey "$frame" 3 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "region selection showed no cover"
  ! kd wait-visible "$cover" 0 2 >/dev/null || fail "the selection asked for while the program started ended by itself"
  kd hotkey "$frame" 6 $Ctrl
  kd wait-visible "$cover" 0 5 || fail "an abandoned selection left the cover up"
  wait_children 1
  # Losing the mouse ends a selection too.
  kd hotkey "$frame" 3 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the second selection"
  kd send "$frame" 0x215 0 0 >/dev/null       # WM_CAPTURECHANGED
  kd wait-visible "$cover" 0 5 || fail "a lost mouse capture left the cover up"
  # A press ends the selection and starts the band; the release takes it.
  kd hotkey "$frame" 3 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the third selection"
  kd drag 100 120 260 200 >/dev/null
  wait_children 2
  kd mdi-children "$frame" | grep -qx "Region Capture" || fail "no Region Capture window"
  wait_status 1 "160w x 80h"
  [ "$(kd visible "$cover")" = 0 ] || fail "the cover stayed after the region capture"
  # A window picked with the mouse.
  kd hotkey "$frame" 2 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "window selection showed no cover"
  kd post "$frame" 0x201 1 0 >/dev/null
  wait_children 3
  kd mdi-children "$frame" | grep -qx "Window Capture" || fail "no Window Capture window"
  [ "$(kd visible "$cover")" = 0 ] || fail "the cover stayed after the window capture"
  # A request waiting in the queue when the click comes is dropped while the
  # selection finishes: one capture, not one inside the other.
  kd hotkey "$frame" 2 $Ctrl
  kd wait-visible "$cover" 1 5 || fail "no cover for the second window selection"
  kd post-pair "$frame" 0x201 1 0 0x401 8 0 >/dev/null
  wait_children 4
  sleep 1
  wait_children 4
  [ "$(kd mdi-children "$frame" | grep -cx "Pointer Capture")" = 1 ] || fail "a request ran inside the selection: $(kd mdi-children "$frame" | tr "\n" ,)"
  exit_kaptura
}

case_frame_commands() {
  seed_ini
  start_kaptura
  # Close All is there only while image windows are.
  wait_toolbar 32819 disabled                  # Close All, no image windows
  kd hotkey "$frame" 6 $Ctrl
  wait_children 1
  wait_toolbar 32819 enabled
  # Kaptura Explorer flips Session value 3 and its check mark.
  wait_toolbar 32784 enabled,checked
  kd command "$frame" 32784 >/dev/null
  wait_toolbar 32784 enabled
  # Tray: Hide, then a double click on the icon opens the frame again.
  kd command "$frame" 32826 >/dev/null
  kd wait-visible "$frame" 0 5 || fail "tray Hide left the frame shown"
  kd send "$frame" 0x404 2 0x203 >/dev/null    # WM_USER+4, WM_LBUTTONDBLCLK
  kd wait-visible "$frame" 1 5 || fail "a double click on the icon did not open the frame"
  [ "$(kd send "$frame" 0x404 2 0x200)" = 0 ] || fail "a mouse move on the icon was acted on"
  # Progress: the status bar shows a percent, and 100 clears it.
  kd send "$frame" 0x402 49 100 >/dev/null      # WM_USER+2: row 49 of 100
  kd send "$frame" 0x402 99 100 >/dev/null
  kd send "$frame" 0x402 5 0 >/dev/null         # no rows: no division by zero
  exit_kaptura
  [ "$(ini_get Session | cut -d, -f3)" = 0 ] || fail "Session value 3 not saved"
}

case_close_all() {
  seed_ini
  start_kaptura
  kd hotkey "$frame" 1 $Ctrl
  kd hotkey "$frame" 1 $Ctrl
  wait_children 2
  local pid box
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" 32819 >/dev/null
  box=$(kd wait-dialog "$pid" "Kaptura 99" 10) || fail "no Close All prompt"
  kd dialog-text "$box" | grep -q "All image windows and notepads will be cleared" || fail "wrong prompt text"
  kd answer "$box" 7 >/dev/null                # No
  kd wait-gone "$box" 5 || fail "the prompt stayed"
  wait_children 2
  kd post-command "$frame" 32819 >/dev/null
  box=$(kd wait-dialog "$pid" "Kaptura 99" 10) || fail "no second Close All prompt"
  kd answer "$box" 6 >/dev/null                # Yes
  wait_children 0
  exit_kaptura
}

# The Windows path of a file in the case's program folder.
winpath() { echo "Z:${app//\//\\}\\$1"; }

# Runs the file dialog a command opens, typing path into its name field.
settings_file_dialog() {
  local pid dialog
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" "$1" >/dev/null
  dialog=$(kd wait-dialog "$pid" - 10) || fail "no file dialog for $1"
  kd set-text "$dialog" 0x47c "$2" >/dev/null || fail "no name field"
  kd answer "$dialog" 1 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the file dialog stayed"
}

case_settings_commands() {
  seed_ini "ScreenPage=0,0,300,200,1,7"
  start_kaptura
  # Save Settings: a name without an extension gets ".ini", also below a
  # folder whose name has a dot.
  mkdir -p "$app/my.settings"
  settings_file_dialog 32817 "$(winpath 'my.settings\saved')"
  for _ in $(seq 20); do [ -f "$app/my.settings/saved.ini" ] && break; sleep 0.25; done
  grep -aq '^ScreenPage=0,0,300,200,1,7' "$app/my.settings/saved.ini" || fail "Save Settings wrote no copy"
  # Master Reset: Cancel keeps everything; OK removes the file and every
  # setting is its default again, which the exit writes.
  local pid box
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" 32815 >/dev/null
  box=$(kd wait-dialog "$pid" "Kaptura 99" 10) || fail "no Master Reset prompt"
  kd dialog-text "$box" | grep -q "Change all settings to original Kaptura defaults?" || fail "wrong prompt"
  kd answer "$box" 2 >/dev/null
  kd wait-gone "$box" 5 || fail "the prompt stayed"
  grep -aq '^ScreenPage=0,0,300,200,1,7' "$ini" || fail "a cancelled Master Reset changed the settings"
  kd post-command "$frame" 32815 >/dev/null
  box=$(kd wait-dialog "$pid" "Kaptura 99" 10) || fail "no second Master Reset prompt"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 || fail "the prompt stayed"
  for _ in $(seq 20); do [ -f "$ini" ] || break; sleep 0.25; done
  [ -f "$ini" ] && fail "Master Reset kept the settings file"
  # Load Settings brings the saved copy back; a missing file changes nothing.
  settings_file_dialog 32816 "$(winpath 'my.settings\saved.ini')"
  for _ in $(seq 20); do [ -f "$ini" ] && break; sleep 0.25; done
  grep -aq '^ScreenPage=0,0,300,200,1,7' "$ini" || fail "Load Settings did not copy the file in"
  kd hotkey "$frame" 1 $Ctrl                   # the loaded countdown of 7 seconds runs
  sleep 1
  wait_children 0
  exit_kaptura
}

# The splash's title, drawn in the weekday's colour in the band above its
# last line, keeps clear of the window's right edge whatever face stands in
# for its own: no pixel of that colour in the last 8 columns. Its last line,
# black on the logo's gradient, likewise: no black there inside the border.
splash_texts_inside() {
  local colours=("128,0,0" "0,128,0" "128,128,0" "0,0,128" "128,0,128" "0,128,128" "128,128,128")
  local left top right bottom shot="$E2E_ROOT/kaptura-shots/splash.png" hits rect
  mkdir -p "$E2E_ROOT/kaptura-shots"
  # On a loaded machine the splash may have had its three seconds already,
  # or not be painted yet: its logo's gradient is never black at the edge
  # where its last line ends.
  while :; do
    rect=$(probe window-rect "$1") || { echo "the splash went before its texts could be looked at"; return 0; }
    read -r left top right bottom <<< "$rect"
    import-im6.q16 -window root "$shot"
    [ "$(picture_colour "$shot" $((right - 3)) $((bottom - 3)))" = "0,0,0" ] || break
    sleep 0.2
  done
  hits=$(convert-im6.q16 "$shot" -crop "8x60+$((right - 8))+$((bottom - 85))" +repage -depth 8 txt:- |
           grep -c "($(tr -d ' ' <<< "${colours[$(date +%w)]}"))" || true)
  [ "$hits" = 0 ] || fail "the splash's title reaches its right edge ($hits pixels; $shot)"
  hits=$(convert-im6.q16 "$shot" -crop "8x22+$((right - 9))+$((bottom - 33))" +repage -depth 8 txt:- |
           grep -c "(0,0,0)" || true)
  [ "$hits" = 0 ] || fail "the splash's last line reaches its right edge ($hits pixels; $shot)"
}

case_exit_saves() {
  # A fresh ini: every start-up default, the splash included.
  rm -f "$ini"
  # The splash is on by default and goes by itself three seconds after the
  # start: the driver looks for it from before the start, however long
  # the start takes.
  local splash watcher watching="$case_dir/watching"
  kd watch-dialog "Z:${watching//\//\\}" - - 60 >"$case_dir/splash" &
  watcher=$!
  local deadline=$((SECONDS + 120))
  while [ ! -e "$watching" ] && [ $SECONDS -lt $deadline ] && kill -0 "$watcher" 2>/dev/null; do sleep 0.1; done
  [ -e "$watching" ] || fail "the driver does not watch for the splash"
  start_kaptura
  wait "$watcher" || fail "no splash window"
  splash=$(cat "$case_dir/splash")
  splash_texts_inside "$splash"
  kd wait-gone "$splash" 30 || fail "the splash stayed"
  kd wait-visible "$frame" 1 30 || fail "the frame is not shown"
  exit_kaptura
  [ -f "$ini" ] || fail "no settings file after exit"
  local order
  order=$(grep -ao '^\(RunMode\|Session\|Format\)=' "$ini" | tr -d '=' | tr '\n' ' ')
  [ "$order" = "RunMode Session Format " ] || fail "keys in the order: $order"
  [ "$(ini_get RunMode)" = "1,0,1,1,1,1,0,0,1" ] || fail "RunMode defaults: $(ini_get RunMode)"
}


# Exit as the notification-area icon's menu gives it (the menu still answers
# while a dialog holds the frame): refused with a word while an image
# command's dialog is up, so that the command still has its document when
# the dialog ends with OK; once no dialog runs, Exit ends the program.
case_exit_during_dialogs() {
  seed_ini
  start_kaptura
  local pid dialog box entry command title count=1
  local shots="$E2E_ROOT/exit-shots"
  mkdir -p "$shots"
  pid=$(kd window-pid "$frame")
  kd hotkey "$frame" 1 $Ctrl
  wait_children 1
  for entry in "32788:Frame" "32799:Black and White" "32791:Scale"; do
    command=${entry%%:*}
    title=${entry#*:}
    kd post-command "$frame" "$command" >/dev/null
    dialog=$(kd wait-dialog "$pid" "$title" 20) || fail "no $title dialog"
    kd post-command "$frame" 57665 >/dev/null
    box=$(kd wait-dialog "$pid" "Kaptura 99" 20) || fail "Exit during the $title dialog showed nothing"
    /usr/bin/import-im6.q16 -window root "$shots/exit-refused-${command}.png" 2>/dev/null || true
    kd dialog-text "$box" | grep -q "Please close the open dialog box first." \
      || fail "Exit during the $title dialog was not refused: $(kd dialog-text "$box" | tr '\n' ' ')"
    kd answer "$box" 1 >/dev/null
    kd wait-gone "$box" 10 >/dev/null || fail "the refusal stayed"
    [ "$(kd mdi-children "$frame" | grep -c .)" = "$count" ] || fail "an image window closed under the $title dialog"
    # OK: the command goes on with its document, into a new window.
    kd answer "$dialog" 1 >/dev/null
    kd wait-gone "$dialog" 10 >/dev/null || fail "the $title dialog stayed"
    count=$((count + 1))
    wait_children $count
  done
  exit_kaptura
}

# Exit during a countdown ends the program at once; nothing is captured.
case_exit_during_countdown() {
  seed_ini "ScreenPage=0,0,200,100,1,20"
  start_kaptura
  local program=${pids[-1]} status=0
  kd hotkey "$frame" 1 $Ctrl
  kd post-command "$frame" 57665 >/dev/null
  kd wait-gone "$frame" 30 >/dev/null || fail "the program did not end during the countdown"
  wait "$program" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
