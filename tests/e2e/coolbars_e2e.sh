#!/usr/bin/env bash
# The capture program's menu bar in its rebar, used with the real keyboard
# and mouse: coolbars_e2e.sh <case>. Screenshots go to $E2E_ROOT/coolbars-shots.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"
command -v xdotool >/dev/null || fail "xdotool is missing"

shots="$E2E_ROOT/coolbars-shots"
mkdir -p "$shots"
shot() { /usr/bin/import-im6.q16 -window root "$shots/$1.png"; }

# The open popup menus' left edges, one a line.
popup_lefts() { kd menu-popups "$frame" | awk '{print $1}'; }

# Waits until exactly one popup is open with its left edge within 3 pixels
# of $1 (the button it belongs to); $2 names it for the failure.
wait_popup_at() {
  local lefts=""
  for _ in $(seq 40); do
    lefts=$(popup_lefts)
    if [ "$(echo "$lefts" | grep -c .)" = 1 ] && [ $((lefts - $1)) -le 3 ] && [ $(($1 - lefts)) -le 3 ]; then
      return 0
    fi
    sleep 0.1
  done
  fail "the $2 popup is not the one open under its button (popups at: $(echo $lefts))"
}

wait_no_popup() {
  for _ in $(seq 30); do
    [ -z "$(popup_lefts)" ] && return 0
    sleep 0.1
  done
  fail "a popup is still open: $1"
}

# Button $1 of the menu bar: its screen rectangle as "left top right bottom".
button_rect() { kd menubar-rect "$frame" "$1"; }
button_left() { button_rect "$1" | awk '{print $1}'; }
button_centre() { button_rect "$1" | awk '{printf "%d %d\n", ($1 + $3) / 2, ($2 + $4) / 2}'; }

# Waits until the first menu-bar button's left edge is at $1; $2 says when.
wait_button_left() {
  local left=""
  for _ in $(seq 20); do
    left=$(button_left 0)
    [ "$left" = "$1" ] && return 0
    sleep 0.25
  done
  fail "the File button is at $left, not $1, $2"
}

# Clicks into the empty MDI client area, so that the frame has the keyboard.
focus_frame() {
  local bar
  bar=($(button_rect -1))
  xdotool mousemove $((bar[0] + 500)) $((bar[3] + 300)) click 1
  sleep 0.5
}

start_frame() {
  seed_ini
  start_kaptura
  sleep 1
  button_rect 0 >/dev/null || fail "no menu bar in a rebar"
  focus_frame
}

case_menu_keys() {
  start_frame
  shot frame
  # Alt+F opens File under its button.
  xdotool key alt+f
  wait_popup_at "$(button_left 0)" File
  sleep 0.5
  shot file-popup
  # Right moves to Edit with one popup open.
  xdotool key Right
  wait_popup_at "$(button_left 1)" Edit
  # Escape closes the popup and leaves the bar highlighted; the second
  # Escape leaves it: a plain F then opens nothing.
  xdotool key Escape
  wait_no_popup "after the first Escape"
  xdotool key Escape
  sleep 0.3
  xdotool key f
  sleep 0.5
  [ -z "$(popup_lefts)" ] || fail "F opened a popup after Escape twice"
  # Alt alone, released, highlights the bar; Down opens File.
  xdotool key alt
  sleep 0.3
  xdotool key Down
  wait_popup_at "$(button_left 0)" "File (Alt, Down)"
  xdotool key Escape Escape
  wait_no_popup "after Escape twice"
  # F10 does the same as Alt; Space opens the highlighted popup.
  xdotool key F10
  sleep 0.3
  xdotool key Right space
  wait_popup_at "$(button_left 1)" "Edit (F10, Right, Space)"
  xdotool key Escape Escape
  wait_no_popup "after Escape twice"
  exit_kaptura
}

case_mouse_switch() {
  start_frame
  local tool color
  tool=$(button_centre 3)
  color=$(button_centre 4)
  xdotool mousemove $tool click 1
  wait_popup_at "$(button_left 3)" Tool
  # Moving onto Color while Tool is open switches popups.
  xdotool mousemove $((${color% *} - 2)) ${color#* }
  sleep 0.2
  xdotool mousemove $color
  wait_popup_at "$(button_left 4)" Color
  sleep 0.3
  shot color-popup
  # A click on the open popup's own button closes it.
  xdotool click 1
  wait_no_popup "after clicking its button"
  exit_kaptura
}

case_maximised_child() {
  start_frame
  kd hotkey "$frame" 6 c   # a capture of the screen opens an image window
  wait_children 1
  local client child bar left_plain=$(button_left 0)
  client=$(kd children "$frame" | awk '$2 == "MDIClient" {print $1}')
  child=$(kd send "$client" 0x0229 0 0)   # WM_MDIGETACTIVE
  kd send "$client" 0x0225 "$child" 0 >/dev/null   # WM_MDIMAXIMIZE
  sleep 1.5
  shot maximised
  # The bar's buttons moved right of the child's icon.
  local left_before=$(button_left 0) bar_left
  bar=($(button_rect -1))
  bar_left=${bar[0]}
  [ $((left_before - bar_left)) -ge 14 ] || fail "the menu buttons are not indented for the icon"
  # Restored, they go back where they were; maximised again, they move again.
  kd send "$client" 0x0223 "$child" 0 >/dev/null   # WM_MDIRESTORE
  wait_button_left "$left_plain" "after the restore"
  kd send "$client" 0x0225 "$child" 0 >/dev/null
  wait_button_left "$left_before" "maximised again"
  # The close button at the bar's right end closes the image window.
  xdotool mousemove $((bar[2] - 7)) $(((bar[1] + bar[3]) / 2)) click 1
  local box
  box=$(kd wait-dialog "$(kd window-pid "$frame")" - 5) || fail "closing the capture did not ask to save it"
  kd dialog-text "$box" | grep -q "Save changes" || fail "not the save prompt: $(kd dialog-text "$box")"
  kd answer "$box" 7 >/dev/null
  wait_children 0
  wait_button_left "$left_plain" "after the maximised window closed"
  # The Edit popup of the frame's own menu again opens by keys.
  focus_frame
  xdotool key alt+e
  wait_popup_at "$(button_left 1)" Edit
  sleep 0.5
  shot edit-popup
  xdotool key Escape Escape
  wait_no_popup "after Escape twice"
  exit_kaptura
}

"case_$1"
