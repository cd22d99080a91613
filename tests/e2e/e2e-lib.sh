# Shared by the end-to-end cases: a copy of the program in a folder of its
# own (so each case has its own settings file), a Wine prefix shared by the
# cases of one group, a virtual display of the case's own, and the test
# driver. Windows programs start through kwine (scripts/wine-session.sh).
#
# Needs: BIN (the build's bin folder with the programs, the DLLs and
# kdriver.exe), E2E_ROOT (a scratch folder kept between cases). Optional:
# E2E_GROUP (the cases that share a prefix and run one at a time; default
# kaptura), E2E_PROGRAMS (the programs copied into the case's folder;
# default Kaptura99.exe).
set -Eeuo pipefail
# A step that fails outside fail() names itself.
trap 'echo "FAIL: $(basename "${BASH_SOURCE[0]}") line $LINENO: $BASH_COMMAND" >&2' ERR

: "${BIN:?}" "${E2E_ROOT:?}"
E2E_GROUP=${E2E_GROUP:-kaptura}
E2E_PROGRAMS=${E2E_PROGRAMS:-Kaptura99.exe}

mkdir -p "$E2E_ROOT"
# The group's prefix lives in the test run's folder when there is one, so
# that it goes with the run.
KAPTURA_PREFIX="${KAPTURA_RUN_DIR:-$E2E_ROOT}/prefix-$E2E_GROUP"
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-session.sh"

case_dir=$(mktemp -d "$E2E_ROOT/case.XXXXXX")
app="$case_dir/app"
mkdir -p "$app"
for program in $E2E_PROGRAMS; do cp "$BIN/$program" "$app/"; done
cp "$BIN"/*.dll "$app/"
[ -f "$BIN/LOGO.PNG" ] && cp "$BIN/LOGO.PNG" "$app/"
ini="$app/Kaptura99.ini"
pids=()

finish() {
  local status=$?
  for pid in "${pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
  wine_session_end
  [ "$status" = 0 ] && rm -rf "$case_dir"
  exit "$status"
}
trap finish EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The driver; its output with carriage returns removed.
kd() { kwine "$BIN/kdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }

# Writes the ini the case starts with (section "Kaptura 99"); the splash is
# off unless the case writes RunMode itself.
seed_ini() {
  printf '[Kaptura 99]\r\n' > "$ini"
  local line
  for line in "$@"; do printf '%s\r\n' "$line" >> "$ini"; done
  grep -q '^RunMode=' "$ini" || printf 'RunMode=0,0,0,1,0,0,0,0,1\r\n' >> "$ini"
}

# Starts the program; prints nothing, sets $frame to its main window.
start_kaptura() {
  (cd "$app" && exec "$KAPTURA_WINE" Kaptura99.exe >"$case_dir/kaptura.log" 2>&1) &
  pids+=($!)
  frame=$(kd find-prop Kaptura 20) || no_program_window $!
  [ -n "$frame" ] || no_program_window $!
}

# Fails telling whether the program started as $1 still runs, and what it
# said.
no_program_window() {
  local state="still running" status=0
  if ! kill -0 "$1" 2>/dev/null; then
    wait "$1" || status=$?
    state="ended with status $status"
  fi
  cat "$case_dir/kaptura.log" >&2 2>/dev/null || true
  fail "no main window (the program $state)"
}

# The value of key in the ini file.
ini_get() { grep -a "^$1=" "$ini" | head -1 | cut -d= -f2- | tr -d '\r'; }

# Waits until the MDI children listing matches the expected count.
wait_children() {
  local want=$1 count=""
  for _ in $(seq 40); do
    count=$(kd mdi-children "$frame" | grep -c . || true)
    [ "$count" = "$want" ] && return 0
    sleep 0.25
  done
  fail "expected $want image windows, found $count"
}

# Waits until status pane $1 reads exactly $2 (the panes follow at idle).
wait_status() {
  local text=""
  for _ in $(seq 20); do
    text=$(kd status-text "$frame" "$1")
    [ "$text" = "$2" ] && return 0
    sleep 0.25
  done
  fail "status pane $1 reads '$text', not '$2'"
}

# Waits until toolbar button $1 reads $2 ("enabled", "disabled,checked"...;
# the buttons follow at idle).
wait_toolbar() {
  local state=""
  for _ in $(seq 20); do
    state=$(kd toolbar-state "$frame" "$1")
    [ "$state" = "$2" ] && return 0
    sleep 0.25
  done
  fail "toolbar button $1 is '$state', not '$2'"
}

# Asks the program to end through File Exit, answers No to each "Save
# changes" prompt of the image windows, and waits for it to go.
exit_kaptura() {
  local pid box
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" 57665 >/dev/null
  for _ in $(seq 20); do
    kd wait-gone "$frame" 1 >/dev/null && break
    box=$(kd wait-dialog "$pid" - 1) || continue
    # Other dialogs (the splash while it lasts) are left alone.
    kd dialog-text "$box" | grep -q "Save changes" && kd answer "$box" 7 >/dev/null
  done
  kd wait-gone "$frame" 10 >/dev/null || fail "the program did not end"
  kwineserver -w >/dev/null 2>&1 || true
}
