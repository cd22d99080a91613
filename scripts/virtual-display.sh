# Sourced: virtual_display_start [WIDTHxHEIGHTxDEPTH] starts Xvfb on a display
# number it picks itself (-displayfd: the first free one, taken atomically,
# so scripts started at the same time never share one), exports DISPLAY once
# the server accepts connections and sets virtual_display_pid. The caller
# stops it (kill "$virtual_display_pid").
#
# No window manager runs there, and Wine waits two seconds for one on every
# hide of a captioned window: the display gets the native build's
# wm_state_keeper (tests/display), which answers that wait and does nothing
# else, when it is built; it ends with the display.
virtual_display_pid=""
virtual_display_keeper="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/native/bin/wm_state_keeper"
virtual_display_start() {
  local answer number=""
  answer=$(mktemp "${TMPDIR:-/tmp}/kaptura-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$answer" >/dev/null 2>&1 &
  virtual_display_pid=$!
  for _ in $(seq 400); do
    if [ "$(wc -l <"$answer")" -ge 1 ]; then
      number=$(head -n 1 "$answer" | tr -cd '0-9')
      break
    fi
    kill -0 "$virtual_display_pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$answer"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
  virtual_display_start_keeper
}

virtual_display_start_keeper() {
  [ -x "$virtual_display_keeper" ] || return 0
  local ready
  ready=$(mktemp "${TMPDIR:-/tmp}/kaptura-keeper.XXXXXX")
  "$virtual_display_keeper" >"$ready" 2>/dev/null &
  for _ in $(seq 400); do
    grep -q ready "$ready" && break
    sleep 0.05
  done
  rm -f "$ready"
}
