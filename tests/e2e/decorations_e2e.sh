#!/usr/bin/env bash
# End-to-end cases of the snapshot strip and the title-bar clock:
# decorations_e2e.sh <case>. Captions need a window manager or Wine's own
# virtual desktop, so these cases run in a prefix of their own (their group's)
# whose default desktop is a virtual one. Notepad is the window in front; the
# screen is read back from the X display.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"

use_virtual_desktop 1024x768

shots="$case_dir/shots"
mkdir -p "$shots"
caption() { python3 "$here/caption_check.py" "$@"; }

# Red clock text (Clock value 11 = 255), every snapshot button unless given.
start_decorated() {
  seed_ini "SendtoPage=0,1,0,0,0,0,0,5,5" "CapturePage=1,0,0,0,0" "NotifyPage=0,0" "Format=14,1,1,1,0" \
           "ScreenPage=0,0,1024,768,0,0" "$@"
  grep -q '^Clock=' "$ini" || printf 'Clock=1,1,0,0,1,1,0,0,0,0,255\r\n' >> "$ini"
  grep -q '^SnapshotButton=' "$ini" || printf 'SnapshotButton=1,1,1,1,1,1,0\r\n' >> "$ini"
  start_kaptura
  (kwine notepad >/dev/null 2>&1 &)
  notepad=$(kd wait-window Notepad - 20) || fail "no Notepad window"
  read -r nl nt nr nb <<< "$(window_rect "$notepad")"
  sleep 2
}

# The screen into $shots/$1.rgb (1280 pixels wide: the X display).
screenshot() {
  import-im6.q16 -window root "$shots/$1.png"
  convert-im6.q16 "$shots/$1.png" -depth 8 "rgb:$shots/$1.rgb"
}

# Notepad's caption band: its top rows across the window.
caption_area() { echo "$nl" "$nt" "$nr" "$((nt + 30))"; }

# Presses the strip button showing letter $2 in screenshot $1.
press_slot() {
  local x y
  read -r x y <<< "$(caption glyph "$shots/$1.rgb" 1280 $(caption_area) "$2")" || fail "no $2 button"
  probe click "$x" "$y" || fail "the click failed"
}

finish_case() {
  kd close "$notepad" >/dev/null 2>&1 || true
  exit_kaptura
}

case_strip_and_clock() {
  start_decorated
  screenshot decorated
  local letter red
  for letter in S W R F B C; do
    caption glyph "$shots/decorated.rgb" 1280 $(caption_area) "$letter" >/dev/null ||
      fail "no $letter button on Notepad's caption"
  done
  red=$(caption count "$shots/decorated.rgb" 1280 $(caption_area) 255 0 0)
  [ "$red" -gt 20 ] || fail "no clock on Notepad's caption ($red red pixels)"
  # S: a screen capture; the window destination opens it.
  press_slot decorated S
  wait_children 1
  kd mdi-children "$frame" | grep -qx "Screen Capture" || fail "the S button did not capture the screen"
  # Notepad in front again, then W: the window in front.
  probe click $((nl + 100)) $((nt + 120)) || fail "the click failed"
  sleep 1.5
  screenshot again
  press_slot again W
  wait_children 2
  kd mdi-children "$frame" | head -1 | grep -qx "Window Capture" || fail "the W button did not capture a window"
  # With the program in front, Notepad's caption is plain again.
  local fl ft fr fb
  read -r fl ft fr fb <<< "$(window_rect "$frame")"
  probe click $((fl + 40)) $((fb - 8)) || fail "the click failed"
  sleep 1.5
  screenshot plain
  if caption glyph "$shots/plain.rgb" 1280 $(caption_area) S >/dev/null; then
    fail "the strip stayed on Notepad's caption after the foreground changed"
  fi
  [ "$(caption count "$shots/plain.rgb" 1280 $(caption_area) 255 0 0)" = 0 ] ||
    fail "the clock stayed on Notepad's caption after the foreground changed"
  finish_case
}

case_clock_without_strip() {
  # No snapshot buttons: no strip, and the clock alone, further right.
  start_decorated "SnapshotButton=0,0,0,0,0,0,1"
  screenshot clock
  if caption glyph "$shots/clock.rgb" 1280 $(caption_area) S >/dev/null; then
    fail "a strip was drawn with every button off"
  fi
  local red near
  red=$(caption count "$shots/clock.rgb" 1280 $(caption_area) 255 0 0)
  [ "$red" -gt 20 ] || fail "no clock on Notepad's caption"
  # Its text ends within 120 pixels of the right edge (caption buttons only).
  near=$(caption count "$shots/clock.rgb" 1280 $((nr - 120)) "$nt" "$nr" $((nt + 30)) 255 0 0)
  [ "$near" -gt 0 ] || fail "the clock did not move next to the caption buttons"
  finish_case
}

case_hidden_in_capture() {
  # Both set to hide during a capture: a region selection (Ctrl+3) shows the
  # frozen screen without them; once it is abandoned they come back.
  start_decorated "Clock=1,1,1,0,1,1,0,0,0,0,255" "SnapshotButton=1,1,1,1,1,1,1"
  local cover
  cover=$(kd wait-window CoverWindow - 5) || fail "no cover window"
  screenshot before
  caption glyph "$shots/before.rgb" 1280 $(caption_area) S >/dev/null || fail "no strip before the capture"
  kd hotkey "$frame" 3 c
  kd wait-visible "$cover" 1 5 || fail "region selection showed no cover"
  sleep 1
  screenshot during
  if caption glyph "$shots/during.rgb" 1280 $(caption_area) S >/dev/null; then
    fail "the strip showed during the capture"
  fi
  [ "$(caption count "$shots/during.rgb" 1280 $(caption_area) 255 0 0)" = 0 ] ||
    fail "the clock showed during the capture"
  kd send "$frame" 0x215 0 0 >/dev/null         # WM_CAPTURECHANGED ends the selection
  kd wait-visible "$cover" 0 5 || fail "the cover stayed"
  sleep 1.5
  screenshot after
  caption glyph "$shots/after.rgb" 1280 $(caption_area) S >/dev/null || fail "the strip did not come back"
  finish_case
}

name=${1:?case name}
"case_$name"
echo "PASS: $name"
