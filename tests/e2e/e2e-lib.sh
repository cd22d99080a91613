# Shared by the end-to-end cases: a copy of the program in a folder of its
# own (so each case has its own settings file), a Wine prefix and a virtual
# display of the case's own, and the test driver. Windows programs start
# through kwine (scripts/wine-session.sh).
#
# Needs: BIN (the build's bin folder with the programs, the DLLs and
# kdriver.exe), E2E_ROOT (a scratch folder kept between cases). Optional:
# E2E_GROUP (the program or concern the case belongs to; default kaptura),
# E2E_PROGRAMS (the programs copied into the case's folder; default
# Kaptura99.exe).
set -Eeuo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/step-failed.sh"

: "${BIN:?}" "${E2E_ROOT:?}"
E2E_GROUP=${E2E_GROUP:-kaptura}
E2E_PROGRAMS=${E2E_PROGRAMS:-Kaptura99.exe}

mkdir -p "$E2E_ROOT"
case_dir=$(mktemp -d "$E2E_ROOT/case.XXXXXX")
# The case's prefix is a copy of the run's first one (a moment's work), so
# that no case meets what another left and cases run side by side.
KAPTURA_PREFIX="$case_dir/prefix"
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-session.sh"

app="$case_dir/app"
mkdir -p "$app"
for program in $E2E_PROGRAMS; do cp "$BIN/$program" "$app/"; done
cp "$BIN"/*.dll "$app/"
[ -f "$BIN/LOGO.PNG" ] && cp "$BIN/LOGO.PNG" "$app/"
ini="$app/Kaptura99.ini"
pids=()

# After a failure: whether each program the case started still runs, and
# the last of what the programs and the driver said.
report_programs() {
  local pid status
  for pid in "${pids[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then echo "program $pid: still running" >&2; continue; fi
    status=0
    wait "$pid" 2>/dev/null || status=$?
    echo "program $pid: ended with status $status" >&2
  done
  for log in "$case_dir"/*.log; do
    [ -s "$log" ] || continue
    echo "--- $(basename "$log"), last lines:" >&2
    tail -n 15 "$log" | tr -d '\r' >&2
  done
}

finish() {
  local status=$?
  trap - ERR
  [ "$status" = 0 ] || report_programs
  for pid in "${pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
  wine_session_end
  wine_session_remove_server_folders "$case_dir"
  [ "$status" = 0 ] && rm -rf "$case_dir"
  exit "$status"
}
trap finish EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# True when the tool is there; a check that needs it is left out without
# it, unless CI is set: CI tests everything, so there it is a failure.
have_tool() {
  command -v "$1" >/dev/null && return 0
  [ -z "${CI:-}" ] || fail "$1 is missing and CI is set"
  return 1
}

# The driver; its output with carriage returns removed, passed on as it
# comes (a reader such as head -1 may stop early). A failed call is logged
# with its status. The driver ends with 0, 1 or 2; any other status but a
# closed pipe's is the Wine process failing on its own (seen, rarely, on a
# loaded machine), and a verb that only looks is then asked again once.
kd() {
  local status=0
  kd_stretch_deadline "$@"
  set -- "${kd_args[@]}"
  kd_once "$@" || status=$?
  [ "$status" = 0 ] || echo "kdriver $* ended with status $status" >>"$case_dir/kdriver.log"
  if [ "$status" -gt 2 ] && [ "$status" != 141 ]; then
    if kd_looks_only "$1"; then
      status=0
      kd_once "$@" || status=$?
    fi
  fi
  return "$status"
}
# A deadline of five seconds or more is what a case allows for something
# that must happen; beside other work the same step takes several times as
# long, so the driver gets E2E_WAIT_SCALE times that (a shorter one is a
# poll or a look for what must not come, and stays). Leaves the arguments
# in kd_args.
E2E_WAIT_SCALE=${E2E_WAIT_SCALE:-3}
kd_stretch_deadline() {
  local at=0
  kd_args=("$@")
  kd_seconds=0
  case "$1" in
    find-prop | wait-gone) at=2 ;;
    wait-window | wait-dialog | wait-visible) at=3 ;;
    watch-dialog) at=4 ;;
  esac
  if [ "$at" -gt 0 ] && [[ "${kd_args[at]:-}" =~ ^[0-9]+$ ]]; then
    [ "${kd_args[at]}" -lt 5 ] || kd_args[at]=$((kd_args[at] * E2E_WAIT_SCALE))
    kd_seconds=${kd_args[at]}
  fi
}
kd_once() {
  local status=0
  kd_served "$@" || status=$?
  [ "$status" = "$kd_not_served" ] || return "$status"
  kwine "$BIN/kdriver.exe" "$@" 2>>"$case_dir/kdriver.log" | tr -d '\r'
}

# A case's steps go to one driver that stays ("kdriver serve"), through two
# pipes in the case's folder: starting a Windows process for each step costs
# about a second on a loaded machine, and a case takes dozens of steps. Both
# ends of each pipe are opened for reading and writing, so that no open
# waits and no write fails while the other side is gone; whether the driver
# still runs is asked instead. A step while another is under way (one run in
# the background) starts a driver of its own.
kd_not_served=250
kd_request=0
kd_server_pid() { cat "$case_dir/kd.pid" 2>/dev/null || true; }
# Started with the step's lock closed ($1), else the driver would hold it.
# Returns once the driver holds its end of the request pipe: a request
# written and closed before then would be dropped with the pipe's last
# reader (seen on a loaded machine as a driver waiting for ever on its
# first step).
kd_server_start() {
  local lock=$1 pid
  rm -f "$case_dir/kd.in" "$case_dir/kd.out"
  mkfifo "$case_dir/kd.in" "$case_dir/kd.out"
  "$KAPTURA_WINE" "$BIN/kdriver.exe" serve 0<>"$case_dir/kd.in" 1<>"$case_dir/kd.out" \
    2>>"$case_dir/kdriver.log" {lock}>&- &
  pid=$!
  echo "$pid" >"$case_dir/kd.pid"
  until [ "/proc/$pid/fd/0" -ef "$case_dir/kd.in" ]; do
    kill -0 "$pid" 2>/dev/null || return 0   # kd_ask says that it ended
    sleep 0.01
  done
}
kd_server_stop() {
  local pid
  pid=$(kd_server_pid)
  [ -n "$pid" ] || return 0
  rm -f "$case_dir/kd.pid"
  kill "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
}
kd_served() {
  local lock pid status=0
  exec {lock}>>"$case_dir/kd.lock"
  if ! flock -n "$lock"; then
    exec {lock}>&-
    return "$kd_not_served"
  fi
  pid=$(kd_server_pid)
  if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
    kd_server_start "$lock"
    pid=$(kd_server_pid)
  fi
  kd_ask "$pid" "$@" || status=$?
  exec {lock}>&-
  return "$status"
}
# Sends one request and prints its answer once the whole of it is in.
kd_ask() {
  local pid=$1 id="$BASHPID.$((++kd_request))" from field line="" answer="" text="" status=""
  local give_up=$((SECONDS + ${kd_seconds:-0} + 90))
  shift
  exec {from}<>"$case_dir/kd.out"
  {
    printf '%s\x1f' "$id"
    for field in "$@"; do printf '%s\x1f' "$field"; done
    printf '\n'
  } 1<>"$case_dir/kd.in"
  while [ -z "$status" ]; do
    if IFS= read -r -t 1 -u "$from" line; then
      text+=$line
      if [[ $text == *$'\x1e'* ]]; then
        answer+=${text%%$'\x1e'*}
        if [ "${text#*$'\x1e'}" != "${text#*$'\x1e'"$id "}" ]; then
          status=${text#*$'\x1e'"$id "}
        else
          answer=""   # the end of an answer a reader before this one left
        fi
      else
        answer+=$text$'\n'
      fi
      text=""
    elif [ $? -gt 128 ]; then
      text+=$line   # what came of a line before the second was up
      kill -0 "$pid" 2>/dev/null || { echo "the driver ended during: $*" >>"$case_dir/kdriver.log"; status=3; }
      if [ -z "$status" ] && [ $SECONDS -ge "$give_up" ]; then
        kd_server_hung "$pid" "$*"
        status=3
      fi
    else
      status=3
    fi
  done
  exec {from}>&-
  answer=${answer%$'\n'}   # the line end the driver puts before its status
  printf '%s' "${answer//$'\r'/}"
  return "$status"
}
# A driver that gives no answer long after its step's own deadline is
# taken down, so that a step that only looks is asked again of a new one;
# what ran in the case's session then goes to the driver's log.
kd_server_hung() {
  {
    echo "the driver gave no answer in time to: $2; the processes of the case's prefix:"
    local pids
    pids=$(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | paste -sd,)
    [ -z "$pids" ] || ps -o pid,ppid,stat,etime,args -p "$pids"
  } >>"$case_dir/kdriver.log" 2>&1
  kill -KILL "$1" 2>/dev/null || true
  rm -f "$case_dir/kd.pid"
}
# The case's Wine session (its server, services and desktop) up before a
# program of the case starts: brought up by the driver alone, rather than
# by the program and the driver's first step starting at once.
session_ready() { kd wait-window - - 1 >/dev/null || true; }

# Waiting for the session's processes to end includes the driver's.
kwineserver() {
  [ "${1:-}" != -w ] || kd_server_stop
  "$KAPTURA_WINESERVER" "$@"
}
kd_looks_only() {
  case "$1" in
    wait-window | find-prop | wait-dialog | wait-gone | wait-visible | title | text | children | mdi-children | \
      visible | iconic | status-text | toolbar-state | dialog-text | window-pid | item | enabled | height | \
      list-rows | list-view | menu-popups | menubar-rect) return 0 ;;
  esac
  return 1
}
# Fails when a static or button of dialog $1 (called $2 in the message)
# does not hold its text whole; $3 is the face of the dialog's font, for
# the driver to measure with where it cannot read a control's own.
texts_whole() {
  local cut
  cut=$(kd text-fit "$1" "${3:-MS Sans Serif}")
  [ -z "$cut" ] || fail "$2 cuts texts: $cut"
}
# The probe (test pattern windows, mouse and key input), its output likewise.
probe() { kwine "$BIN/kprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The screen rectangle of window $1, "left top right bottom". A probe that
# gave no answer (one that could not start on a loaded machine) is asked
# again; a window that is not there says so in the log.
window_rect() {
  local rect deadline=$((SECONDS + 10 * E2E_WAIT_SCALE))
  until rect=$(probe window-rect "$1") && [[ $rect =~ ^-?[0-9]+( -?[0-9]+){3}$ ]]; do
    [ $SECONDS -lt $deadline ] || { echo "window_rect: no rectangle for window $1 (probe said '$rect')" >&2; return 1; }
    sleep 0.2
  done
  echo "$rect"
}
# The colour ("r,g,b") of the one pixel ImageMagick describes as text.
only_pixel_colour() { sed -n 's/^0,0: *(\([0-9]*,[0-9]*,[0-9]*\).*/\1/p'; }
# The colour the screen shows at (x, y); the colour of a picture file's pixel.
screen_colour() { import-im6.q16 -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | only_pixel_colour; }
picture_colour() { convert-im6.q16 "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | only_pixel_colour; }
# Waits until the screen shows the colour at (x, y): a window that exists
# may not have been painted yet on a loaded machine.
wait_screen_colour() {
  local deadline=$((SECONDS + 20 * E2E_WAIT_SCALE))
  until [ "$(screen_colour "$1" "$2")" = "$3" ]; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}
# Checks of saved bitmaps against the probe's pattern (bmp_check.py).
check() { python3 "$(dirname "${BASH_SOURCE[0]}")/bmp_check.py" "$@"; }

# set_user_values <key> <name> <value> [<name> <value>]...: string values
# of a key of the current user ('Software\Wine\...'), set in the case's
# prefix before any of its programs runs, by writing them into the prefix's
# user hive, which the Wine server reads when it starts.
# Running Wine's reg for it would start the prefix's whole session
# (services, devices, desktop) only to end it again.
set_user_values() {
  local key=${1//\\/\\\\}
  shift
  {
    printf '\n[%s] %s\n' "$key" "$(date +%s)"
    while [ $# -ge 2 ]; do
      printf '"%s"="%s"\n' "$1" "$2"
      shift 2
    done
  } >>"$WINEPREFIX/user.reg"
}

# Captions need a window manager or Wine's own virtual desktop: makes the
# case's prefix open a virtual desktop of the size given (WIDTHxHEIGHT) for
# the programs it starts, from before the first.
use_virtual_desktop() {
  [ -f "$WINEPREFIX/.virtual-desktop" ] && return 0
  set_user_values 'Software\Wine\Explorer' Desktop Default
  set_user_values 'Software\Wine\Explorer\Desktops' Default "$1"
  touch "$WINEPREFIX/.virtual-desktop"
}

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
  session_ready
  (cd "$app" && exec "$KAPTURA_WINE" Kaptura99.exe >"$case_dir/kaptura.log" 2>&1) &
  pids+=($!)
  frame=$(kd find-prop Kaptura 20) || fail "no main window"
  [ -n "$frame" ] || fail "no main window"
}

# Starts krefuse.dll holding its refusing hook for $1 seconds in the program
# folder, and waits until the hook is in place; $holder is its process.
hold_window_refusal() {
  rm -f "$app/krefuse.ready"
  (cd "$app" && exec "$KAPTURA_WINE" rundll32 krefuse.dll,Hold "$1" >/dev/null 2>&1) &
  holder=$!
  pids+=($holder)
  for _ in $(seq 120); do
    [ -e "$app/krefuse.ready" ] && return 0
    sleep 0.25
  done
  fail "the refusing hook was not put in place"
}

# Runs the file dialog a command of the program opens (File Open 57601,
# Save As 57604) with the given Windows path in its name field.
run_file_dialog() {
  local command=$1 path=$2 pid dialog
  pid=$(kd window-pid "$frame")
  kd post-command "$frame" "$command" >/dev/null
  dialog=$(kd wait-dialog "$pid" - 10) || fail "no file dialog for $command"
  kd set-text "$dialog" 0x47c "$path" >/dev/null || fail "no name field"   # the dialog's name field
  kd answer "$dialog" 1 >/dev/null
  kd wait-gone "$dialog" 10 >/dev/null || fail "the file dialog stayed"
}

# newest_pdf <marker> <name part> [text]: a whole PDF made since the marker
# whose name holds the name part and, when given, whose pages hold the text
# (other runs on the machine print into the same folder at the same time).
newest_pdf() {
  local file
  for _ in $(seq 150); do
    while IFS= read -r file; do
      sleep 0.5
      pdfinfo "$file" >/dev/null 2>&1 || continue
      [ -z "${3:-}" ] || pdftotext -layout "$file" - 2>/dev/null | grep -Fq -- "$3" || continue
      echo "$file"
      return 0
    done < <(find "$(print_queue_outbox)" -newer "$1" -name "*$2*.pdf" 2>/dev/null)
    sleep 0.2
  done
  return 1
}

# The value of key in the ini file.
ini_get() { grep -a "^$1=" "$ini" | head -1 | cut -d= -f2- | tr -d '\r'; }

# Waits until the MDI children listing matches the expected count.
wait_children() {
  local want=$1 count="" deadline=$((SECONDS + 20))
  while [ $SECONDS -lt $deadline ]; do
    count=$(kd mdi-children "$frame" | grep -c . || true)
    [ "$count" = "$want" ] && return 0
    sleep 0.25
  done
  fail "expected $want image windows, found $count"
}

# Waits until status pane $1 reads exactly $2 (the panes follow at idle).
wait_status() {
  local text="" deadline=$((SECONDS + 20))
  while [ $SECONDS -lt $deadline ]; do
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
  # One prompt a window, each answered in a few driver calls: a case with a
  # dozen windows on a loaded machine needs minutes, not a fixed number of
  # rounds.
  local deadline=$((SECONDS + 60 * E2E_WAIT_SCALE))
  while [ $SECONDS -lt $deadline ]; do
    kd wait-gone "$frame" 1 >/dev/null && break
    box=$(kd wait-dialog "$pid" - 1) || continue
    # Other dialogs (the splash while it lasts) are left alone.
    kd dialog-text "$box" | grep -q "Save changes" && kd answer "$box" 7 >/dev/null
  done
  kd wait-gone "$frame" 10 >/dev/null ||
    fail "the program did not end${box:+ (a dialog stays: $(kd dialog-text "$box" 2>/dev/null | tr '\n' ' '))}"
  kwineserver -w >/dev/null 2>&1 || true
}
