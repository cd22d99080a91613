# Shared by the converter's end-to-end cases and its benchmark: the program
# beside the capture program, a fixture folder seen as drive M:, and the
# steps that drive the dialog. Source it after e2e-lib.sh.
cp "$BIN/Morfix99.exe" "$app/"
data="$case_dir/data"
mkdir -p "$data"
ln -sfn "$data" "$WINEPREFIX/dosdevices/m:"
settings="$WINEPREFIX/drive_c/windows/Morfixvert.ini"
rm -f "$settings"
IM=/usr/bin/convert-im6.q16
COMPARE=/usr/bin/compare-im6.q16
TITLE="Corvane Morfix 99 - Batch Conversion"

start_morfix() {
  session_ready
  (cd "$app" && exec "$KAPTURA_WINE" Morfix99.exe >/dev/null 2>&1) &
  morfix_pid=$!
  pids+=($morfix_pid)
  dlg=$(kd wait-window '#32770' "$TITLE" 30) || fail "no converter window"
  # The window exists before its controls; it shows once they are made.
  kd wait-visible "$dlg" 1 30 || fail "the converter window is not shown"
}

item() { kd item "$dlg" "$1"; }

# Input folder, output folder (under M:), both from the trees.
choose_folders() {
  kd tree-select "$(item 1151)" "My Computer\\M:\\$1" || fail "cannot select input folder $1"
  kd tree-select "$(item 1153)" "My Computer\\M:\\$2" || fail "cannot select output folder $2"
}

rows() { kd list-rows "$(item 1003)"; }

# Selects every input file and converts to the output format at index $1;
# the run happens inside the sent command, so it is over on return.
convert_all() {
  kd combo-select "$dlg" 1155 "$1" >/dev/null
  kd list-select "$(item 1152)" all || fail "cannot select the input files"
  kd command "$dlg" 1
}

exit_morfix() {
  kd answer "$dlg" 2 >/dev/null
  kd wait-gone "$dlg" 10 >/dev/null || fail "the converter did not end"
  # The settings are written after the window has gone.
  if [ -n "${morfix_pid:-}" ]; then
    for _ in $(seq 100); do kill -0 "$morfix_pid" 2>/dev/null || break; sleep 0.1; done
  fi
}

# Pixel differences between two files as ImageMagick reads them; $3 is the
# fuzz (0 for exact).
differing_pixels() {
  $COMPARE -metric AE -fuzz "${3:-0}" "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

photo() { $IM -size "$2" -seed "$3" plasma:fractal -blur 0x1 "${@:4}" "$1"; }
