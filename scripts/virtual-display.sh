# Sourced: virtual_display_start [WIDTHxHEIGHTxDEPTH] starts Xvfb on a display
# number it picks itself (-displayfd: the first free one, taken atomically,
# so scripts started at the same time never share one), exports DISPLAY once
# the server accepts connections and sets virtual_display_pid. The caller
# stops it (kill "$virtual_display_pid").
virtual_display_pid=""
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
}
