#!/bin/bash
# End-to-end cases of the batch converter: the real Morfix99.exe under Wine,
# driven through its dialog by kdriver; the files it writes are checked with
# ImageMagick. The fixture folder is drive M: of the Wine prefix.
#
# Usage: morfix_e2e.sh <case>   (BIN and E2E_ROOT as for e2e-lib.sh)
source "$(dirname "$0")/e2e-lib.sh"

scenario=$1
source "$(dirname "$0")/morfix-lib.sh"

case "$scenario" in
mixed_formats)
  # 30 files: BMP at 1, 4, 8 and 24 bits, GIF, JPEG, PNG, and two corrupt ones.
  mkdir -p "$data/in" "$data/png" "$data/bmp" "$data/gif"
  for n in 1 2 3 4; do
    photo "BMP3:$data/in/mono$n.bmp" 61x47 $n -monochrome -type palette
    photo "BMP3:$data/in/four$n.bmp" 64x33 $((n + 10)) -colors 16 -type palette
    photo "BMP3:$data/in/eight$n.bmp" 50x50 $((n + 20)) -colors 200 -type palette
    photo "BMP3:$data/in/true$n.bmp" 73x41 $((n + 30)) -type truecolor
    photo "$data/in/anim$n.gif" 66x40 $((n + 40)) -colors 100
    photo "$data/in/photo$n.jpg" 80x60 $((n + 50)) -quality 90
  done
  photo "PNG24:$data/in/deep1.png" 57x43 61
  photo "PNG24:$data/in/deep2.png" 43x57 62
  photo "PNG8:$data/in/pal1.png" 40x40 63 -colors 200
  photo "PNG8:$data/in/pal2.png" 41x39 64 -colors 200
  head -c 300 "$data/in/deep1.png" > "$data/in/broken.png"
  printf 'BM this is no bitmap at all' > "$data/in/broken.bmp"
  [ "$(ls "$data/in" | wc -l)" = 30 ] || fail "fixture has $(ls "$data/in" | wc -l) files"

  start_morfix
  kd combo-select "$dlg" 1154 0 >/dev/null
  choose_folders in png
  counts=$(kd dialog-text "$dlg" | grep Listed)
  [ "$counts" = "30 Listed, 0 Selected" ] || fail "input counts read '$counts'"

  check_round() {   # $1 extension, $2 expected successes
    local ext=$1 out="$data/$1" listing ok
    listing=$(rows)
    ok=$(grep -c $'\tSuccessful$' <<<"$listing" || true)
    [ "$(grep -c . <<<"$listing")" = 30 ] || fail "$ext: $(grep -c . <<<"$listing") rows, not 30"
    [ "$ok" = "$2" ] || { echo "$listing" >&2; fail "$ext: $ok files converted, not $2"; }
    for bad in broken.png broken.bmp; do
      grep -q "^Cannot read M:\\\\in\\\\$bad, .*"$'\t\tFailed$' <<<"$listing" || fail "$ext: no error row for $bad"
    done
    for source in "$data"/in/*; do
      local name base fuzz diff
      name=$(basename "$source"); base=${name%.*}
      [ "${base#broken}" != "$base" ] && continue
      if [ ! -f "$out/$base.$ext" ]; then
        grep -q "^Cannot convert to M:\\\\$ext\\\\$base.$ext, " <<<"$listing" || fail "$ext: $name neither converted nor reported"
        continue
      fi
      grep -q "^M:\\\\in\\\\$name"$'\t'"M:\\\\$ext\\\\$base.$ext"$'\tSuccessful$' <<<"$listing" || fail "$ext: no row for $name"
      fuzz=0; [ "${name##*.}" = jpg ] && fuzz=4%
      diff=$(differing_pixels "$source" "$out/$base.$ext" $fuzz)
      [ "$diff" = 0 ] || fail "$ext: $name converted with $diff pixels off"
    done
    [ -z "$(ls "$out" | grep -v "\\.$ext\$")" ] || fail "$ext: stray files $(ls "$out")"
  }

  convert_all 7; check_round png 28
  kd tree-select "$(item 1153)" "My Computer\\M:\\bmp" || fail "no bmp folder"
  convert_all 0; check_round bmp 28
  kd tree-select "$(item 1153)" "My Computer\\M:\\gif" || fail "no gif folder"
  convert_all 3; check_round gif 18
  # The deep sources are refused with the library's own words.
  rows | grep -q "^Cannot convert to M:\\\\gif\\\\true1.gif, GIF format doesn't support 24-bit image" ||
    fail "no reason for the refused 24-bit file"
  count=$(kd dialog-text "$dlg" | grep "Files in this format")
  [ "$count" = "Files in this format: 18" ] || fail "output count reads '$count'"
  exit_morfix
  ;;

stop_midway)
  # The outputs of the one picture: the first is it pixel for pixel, and
  # every other the same file as the first.
  all_whole() {
    [ -e "$1" ] || return 0
    [ "$(differing_pixels "$seed" "$1")" = 0 ] || fail "$(basename "$1") is not whole"
    local file
    for file in "${@:2}"; do cmp -s "$1" "$file" || fail "$(basename "$file") is not whole"; done
  }
  mkdir -p "$data/in" "$data/out"
  seed="$case_dir/seed.bmp"
  photo "BMP3:$seed" 480x360 7 -type truecolor
  # Enough files that the run outlasts the checks made while it goes: names
  # of one picture, so that every whole output is one and the same file.
  for n in $(seq -w 1 600); do ln "$seed" "$data/in/p$n.bmp"; done
  start_morfix
  choose_folders in out
  kd combo-select "$dlg" 1155 7 >/dev/null
  kd list-select "$(item 1152)" all || fail "cannot select"
  # The controls' handles beforehand: while the run goes, every driver call
  # lets it convert more files.
  declare -A control
  for id in 1151 1152 1153 1154 1155 1156 1 1001; do control[$id]=$(item $id); done
  kd post-command "$dlg" 1 >/dev/null
  done_rows=0
  for _ in $(seq 200); do
    done_rows=$(rows | grep -c . || true)
    [ "$done_rows" -ge 10 ] && break
    sleep 0.05
  done
  [ "$done_rows" -ge 10 ] || fail "the run did not start"
  # While it runs the inputs rest and only Stop (and Exit) answer.
  for id in 1151 1152 1153 1154 1155 1156 1; do
    [ "$(kd enabled "${control[$id]}")" = 0 ] || fail "control $id is live during the run"
  done
  [ "$(kd enabled "${control[1001]}")" = 1 ] || fail "Stop is disabled during the run"
  kd answer "$dlg" 1001 >/dev/null
  stop_deadline=$((SECONDS + 120))
  until [ "$(kd enabled "${control[1151]}")" = 1 ]; do
    [ $SECONDS -lt $stop_deadline ] || fail "the run did not stop"
    sleep 0.1
  done
  [ "$(kd enabled "${control[1001]}")" = 0 ] || fail "Stop still enabled after the run"
  [ "$(kd enabled "${control[1]}")" = 1 ] || fail "Convert not enabled after the run"
  listing=$(rows)
  converted=$(grep -c $'\tSuccessful$' <<<"$listing" || true)
  echo "stopped after $converted of 600 files"
  [ "$converted" -lt 600 ] || fail "Stop did not end the run"
  [ "$(grep -c . <<<"$listing")" = "$converted" ] || fail "rows other than successful ones"
  written=$(ls "$data/out" | wc -l)
  [ "$written" = "$converted" ] || fail "$written files written, $converted reported"
  # Every reported file is whole.
  while IFS=$'\t' read -r from to status; do
    name=${to##*\\}
    [ -f "$data/out/$name" ] || fail "$name is reported but not written"
  done <<<"$listing"
  all_whole "$data"/out/*

  # Exit during a run: the run ends after the current file, then the window
  # closes and the choices are written as on any exit.
  rm -f "$data"/out/*
  kd post-command "$dlg" 1 >/dev/null
  for _ in $(seq 200); do [ "$(kd enabled "${control[1151]}")" = 0 ] && break; sleep 0.05; done
  kd answer "$dlg" 2 >/dev/null
  kd wait-gone "$dlg" 20 >/dev/null || fail "Exit during the run did not close the window"
  for _ in $(seq 100); do kill -0 "$morfix_pid" 2>/dev/null || break; sleep 0.1; done
  [ "$(grep -a '^Morfixvert=' "$settings" | cut -d= -f2 | tr -d '\r')" = "1,0,7" ] || fail "no settings after Exit"
  written=$(ls "$data/out" | wc -l)
  echo "Exit during a run left $written files"
  [ "$written" -lt 600 ] || fail "Exit did not stop the run"
  for file in "$data"/out/*; do
    [ -e "$file" ] || continue
    [ "${file%.png}" != "$file" ] || fail "stray file $(basename "$file")"
  done
  all_whole "$data"/out/*
  ;;

in_place)
  # Converting a folder onto itself: originals are rewritten only by whole
  # new files, a refused one stays as it was, and a user's own item that
  # carries a temporary-looking name is left alone.
  mkdir -p "$data/same"
  photo "$data/same/a.gif" 60x40 71 -colors 64
  photo "$data/same/b.gif" 50x30 72 -colors 32
  photo "PNG24:$data/same/c.png" 30x30 73
  cp "$data/same/a.gif" "$data/a-before.gif"
  cp "$data/same/b.gif" "$data/b-before.gif"
  mkdir "$data/same/b.gif.~pv"   # the user's, not the library's
  start_morfix
  choose_folders same same
  convert_all 3
  listing=$(rows)
  grep -q "^M:\\\\same\\\\a.gif"$'\t'"M:\\\\same\\\\a.gif"$'\tSuccessful$' <<<"$listing" || fail "a.gif not rewritten"
  grep -q "^M:\\\\same\\\\b.gif"$'\t'"M:\\\\same\\\\b.gif"$'\tSuccessful$' <<<"$listing" || fail "b.gif not rewritten"
  grep -q "^Cannot convert to M:\\\\same\\\\c.gif, GIF format" <<<"$listing" || fail "no error row for c.png"
  [ "$(differing_pixels "$data/b-before.gif" "$data/same/b.gif")" = 0 ] || fail "b.gif changed its pixels"
  [ -d "$data/same/b.gif.~pv" ] || fail "the user's b.gif.~pv is gone"
  [ "$(differing_pixels "$data/a-before.gif" "$data/same/a.gif")" = 0 ] || fail "a.gif changed its pixels"
  [ ! -e "$data/same/c.gif" ] || fail "a refused file was left behind"
  # No temporary file is left behind either.
  [ "$(ls "$data/same" | sort | tr '\n' ' ')" = "a.gif b.gif b.gif.~pv c.png " ] || fail "folder holds $(ls "$data/same")"
  exit_morfix
  ;;

memory)
  mkdir -p "$data/in" "$data/out"
  photo "BMP3:$data/in/seed.bmp" 200x150 9 -type truecolor
  for n in $(seq -w 1 100); do cp "$data/in/seed.bmp" "$data/in/m$n.bmp"; done
  rm "$data/in/seed.bmp"
  start_morfix
  choose_folders in out
  pid=$(kd window-pid "$dlg")
  convert_all 7   # warm-up: the heap and the lists reach their size
  before=$(kwine "$BIN/kprobe.exe" memory "$pid" 2>/dev/null | tr -d '\r') || fail "cannot read the memory"
  for _ in 1 2 3 4 5; do convert_all 7; done
  after=$(kwine "$BIN/kprobe.exe" memory "$pid" 2>/dev/null | tr -d '\r')
  [ "$(rows | grep -c $'\tSuccessful$')" = 100 ] || fail "the last run did not convert every file"
  # Files written again are listed once.
  count=$(kd dialog-text "$dlg" | grep "Files in this format")
  [ "$count" = "Files in this format: 100" ] || fail "output count reads '$count'"
  echo "private bytes before $before, after 500 conversions $after"
  [ $((after - before)) -lt $((2 * 1024 * 1024)) ] || fail "memory grew by $((after - before)) bytes"
  exit_morfix
  ;;

settings_round_trip)
  start_morfix
  [ "$(kd send "$(item 1154)" 0x147 0 0)" = 0 ] || fail "input format not at its default"
  [ "$(kd send "$(item 1155)" 0x147 0 0)" = 0 ] || fail "output format not at its default"
  kd combo-select "$dlg" 1154 6 >/dev/null
  kd combo-select "$dlg" 1155 7 >/dev/null
  kd command "$dlg" 1004
  exit_morfix
  value=$(grep -a '^Morfixvert=' "$settings" | cut -d= -f2 | tr -d '\r')
  grep -q '^\[Morfixvert\]' "$settings" || fail "no Morfixvert section"
  [ "$value" = "0,6,7" ] || fail "settings value '$value'"

  start_morfix
  [ "$(kd send "$(item 1154)" 0x147 0 0)" = 6 ] || fail "input format not restored"
  [ "$(kd send "$(item 1155)" 0x147 0 0)" = 7 ] || fail "output format not restored"
  [ "$(kd title "$(item 1004)")" = "&Details >>" ] || fail "details not hidden"
  exit_morfix

  printf '[Morfixvert]\r\nMorfixvert=zz,99,-4\r\n' > "$settings"
  start_morfix
  [ "$(kd send "$(item 1154)" 0x147 0 0)" = 0 ] || fail "broken input index not defaulted"
  [ "$(kd send "$(item 1155)" 0x147 0 0)" = 0 ] || fail "broken output index not defaulted"
  [ "$(kd title "$(item 1004)")" = "&Details <<" ] || fail "broken details flag not defaulted"
  exit_morfix
  [ "$(grep -a '^Morfixvert=' "$settings" | cut -d= -f2 | tr -d '\r')" = "1,0,0" ] || fail "defaults not written back"
  ;;

dialog_basics)
  start_morfix
  pid=$(kd window-pid "$dlg")
  texts_whole "$dlg" "the converter's window"
  # Convert with nothing selected only says so.
  kd post-command "$dlg" 1 >/dev/null
  box=$(kd wait-dialog "$pid" Morfix99 10) || fail "no message for an empty selection"
  kd dialog-text "$box" | grep -qx "No files selected." || fail "message reads '$(kd dialog-text "$box")'"
  kd answer "$box" 1 >/dev/null
  kd wait-gone "$box" 5 >/dev/null || fail "the message stayed"
  [ -z "$(rows)" ] || fail "rows after an empty Convert"
  # The system menu's About entry.
  kd post "$dlg" 0x112 16 0 >/dev/null
  about=$(kd wait-dialog "$pid" "About Corvane Morfix 99" 10) || fail "no about box"
  kd dialog-text "$about" | grep -qx "Corvane Morfix 99 for Windows" || fail "about box text"
  texts_whole "$about" "the about box"
  kd answer "$about" 1 >/dev/null
  kd wait-gone "$about" 5 >/dev/null || fail "the about box stayed"
  # Details hide and show the result list by the dialog's height.
  full=$(kd height "$dlg")
  kd command "$dlg" 1004
  collapsed=$(kd height "$dlg")
  [ "$(kd title "$(item 1004)")" = "&Details >>" ] || fail "Details button not turned"
  [ "$collapsed" -lt "$full" ] || fail "hiding details kept the height $full"
  kd command "$dlg" 1004
  [ "$(kd height "$dlg")" = "$full" ] || fail "showing details did not restore the height"
  exit_morfix
  ;;

capture_menu)
  seed_ini
  morfix_pid=""
  start_kaptura
  kd post-command "$frame" 32773 >/dev/null
  dlg=$(kd wait-window '#32770' "$TITLE" 30) || fail "File Batch Conversion did not start the converter"
  exit_morfix
  exit_kaptura
  ;;

readonly_target)
  # An output file marked read-only is not replaced: its row gives the
  # library's refusal, and the file keeps its content and its mark.
  mkdir -p "$data/in" "$data/out"
  photo "BMP3:$data/in/kept.bmp" 30x20 1 -type truecolor
  photo "BMP3:$data/in/fresh.bmp" 30x20 2 -type truecolor
  printf old > "$data/out/kept.png"
  chmod 0444 "$data/out/kept.png"
  start_morfix
  choose_folders in out
  convert_all 7
  listing=$(rows)
  grep -q "^Cannot convert to M:\\\\out\\\\kept.png, Cannot create this file."$'\t\tFailed$' <<<"$listing" ||
    { echo "$listing" >&2; fail "no refusal for the read-only file"; }
  grep -q $'\tM:\\\\out\\\\fresh.png\tSuccessful$' <<<"$listing" || { echo "$listing" >&2; fail "fresh.bmp not converted"; }
  [ "$(cat "$data/out/kept.png")" = old ] || fail "kept.png was rewritten"
  [ "$(stat -c %a "$data/out/kept.png")" = 444 ] || fail "kept.png lost its read-only mark"
  chmod u+w "$data/out/kept.png"
  # The counts beside the format lists, filled in, stay whole.
  texts_whole "$dlg" "the converter's window after a run"
  exit_morfix
  ;;

*)
  fail "unknown case $scenario"
  ;;
esac
