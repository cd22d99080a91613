# Shared by the browser's end-to-end cases and its benchmark: the program in
# the case's folder, drive Z: (the whole Linux file system) removed and P:
# mapped to the case's fixture tree, the settings file in the prefix's
# Windows folder, and the steps that drive the program. Source it after
# e2e-lib.sh.
cp "$BIN/Pixorama99.exe" "$app/"
tree="$case_dir/tree"
mkdir -p "$tree"
rm -f "$WINEPREFIX/dosdevices/z:"
ln -sfn "$tree" "$WINEPREFIX/dosdevices/p:"
settings="$WINEPREFIX/drive_c/windows/Pixorama.ini"
IM=/usr/bin/convert-im6.q16
COMPARE=/usr/bin/compare-im6.q16
PANE=59648          # the first pane of a splitter (0xE900); 59649 the one to its right
ALL_FORMATS="1,1,1,1,1,1,1,1,1,1,1,1"
ONLY_P="0,0,0,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,0,0"
EXTENSIONS='.*\.\(bmp\|clp\|cur\|dib\|gif\|ico\|jpg\|pcx\|png\|rle\|tif\|wpg\)$'

# The settings the case starts with: formats, drives and background.
seed_settings() {
  printf '[Pixorama]\r\nExplorerFormats=%s\r\nExplorerDrives=%s\r\n' "$1" "$2" > "$settings"
  [ -z "${3:-}" ] || printf 'Session=%s\r\n' "$3" >> "$settings"
}
setting() { grep -a "^$1=" "$settings" | head -1 | cut -d= -f2- | tr -d '\r'; }

# Starts the program and waits for the selection dialog it opens; sets
# $frame, $selection and the views.
start_browser() {
  session_ready
  (cd "$app" && exec "$KAPTURA_WINE" Pixorama99.exe >"$case_dir/pixorama.log" 2>&1) &
  pids+=($!)
  frame=$(kd wait-window - "Pixorama 99" 30) || fail "no main window"
  selection=$(kd wait-dialog - "Pixorama 99 Selection" 30) || fail "no selection dialog at start"
  local outer inner
  outer=$(kd item "$frame" $PANE)
  inner=$(kd item "$outer" $PANE)
  treeview=$(kd item "$inner" $PANE)
  listview=$(kd item "$inner" $((PANE + 1)))
  imageview=$(kd item "$outer" $((PANE + 16)))
}

# Confirms the selection dialog and waits until the scan is over.
scan() {
  kd answer "$selection" 1 >/dev/null
  wait_scan_end
}

# The tree holds "My Computer" from the scan's start, and the frame is
# disabled until its end.
wait_scan_end() {
  for _ in $(seq 600); do
    [ "$(kd send "$treeview" 0x1105 0 0)" != 0 ] && [ "$(kd enabled "$frame")" = 1 ] && return 0
    sleep 0.1
  done
  fail "the scan did not end"
}

rows() { kd list-rows "$listview"; }

# The texts of the Summary Report, one "count size" line per row, then the
# dialog closed.
report() {
  kd post-command "$frame" 32773 >/dev/null
  local box id
  box=$(kd wait-dialog - "Pixorama 99 Report" 10) || fail "no report"
  for id in 1163 1165 1167 1169 1173 1175 1177 1179 1171 1181 1183 1185 1187; do
    echo "$(kd title "$(kd item "$box" $id)") $(kd title "$(kd item "$box" $((id + 1)))")"
  done
  kd answer "$box" 1 >/dev/null
}

# The files of the fixture the browser must list, as Windows paths on P:.
expected_files() {
  (cd "$tree" && find . -type f -iregex "$EXTENSIONS" | sed 's|^\./|P:\\|; s|/|\\|g' | sort -f)
}

exit_browser() {
  kd post-command "$frame" 57665 >/dev/null
  kd wait-gone "$frame" 10 >/dev/null || fail "the program did not end"
  kwineserver -w >/dev/null 2>&1 || true
}

# A selection made by window messages queues nothing, so the program's
# idle work (status panes, toolbar states) waits for input: the mouse moves.
# A real mouse move, so that the program runs its idle updates (status panes,
# toolbar). The queue keeps only the last of quick moves, and a move to the
# point of the last one is no reason for an update: each nudge ends at a
# point of its own.
nudges=0
nudge() {
  nudges=$((nudges + 1))
  xdotool mousemove 700 300 mousemove $((701 + nudges % 64)) 301 >/dev/null 2>&1 || true
}

photo() { $IM -size "$2" -seed "$3" plasma:fractal -blur 0x1 "${@:4}" "$1"; }
differing_pixels() { $COMPARE -metric AE -fuzz "${3:-0}" "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
shot() { /usr/bin/import-im6.q16 -window root "$1"; }
