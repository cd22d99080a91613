# Sourced by the scripts that start Windows programs: the Windows road of this
# machine (scripts/windows-road.sh), a virtual display of the session's own
# unless DISPLAY is set, and a Wine prefix: the one KAPTURA_PREFIX names (made
# on first use and kept), or else a fresh one in this run's folder. Windows
# programs start through kwine (the wrapper scripts/wine-run.sh, also
# exported as KAPTURA_WINE for programs that are not shells), never a bare
# wine. What the session started is taken down when the calling script
# exits; a caller with an EXIT trap of its own calls wine_session_end there.
kaptura_root=${kaptura_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
source "$kaptura_root/scripts/windows-road.sh"

export KAPTURA_WINE="$kaptura_root/scripts/wine-run.sh"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The screen the tests and the programs expect.
KAPTURA_SCREEN=${KAPTURA_SCREEN:-1280x1024x24}

# Debian's wineserver picks the 64-bit server where there is one: the one the
# prefixes need, as Wine makes them 64-bit whenever the 64-bit Wine is there.
KAPTURA_WINESERVER=${KAPTURA_WINESERVER:-wineserver}

kwine() { "$KAPTURA_WINE" "$@"; }
kwineserver() { "$KAPTURA_WINESERVER" "$@"; }

wine_session_xvfb=""
wine_session_own_run_dir=""

# Starts Xvfb on a display number it picks itself (-displayfd: the first
# free one, taken atomically, so sessions started at the same time never
# share one) and exports DISPLAY once the server accepts connections.
wine_session_start_display() {
  local answer number=""
  answer=$(mktemp "${TMPDIR:-/tmp}/kaptura-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "$KAPTURA_SCREEN" -nolisten tcp 3>"$answer" >/dev/null 2>&1 &
  wine_session_xvfb=$!
  for _ in $(seq 400); do
    if [ "$(wc -l <"$answer")" -ge 1 ]; then
      number=$(head -n 1 "$answer" | tr -cd '0-9')
      break
    fi
    kill -0 "$wine_session_xvfb" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$answer"
  if [ -z "$number" ]; then
    echo "wine-session: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# Makes the prefix unless a whole one is there; callers sharing a prefix
# take turns, and a prefix left half made is made again.
wine_session_make_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.kaptura-prefix" ] && exit 0
    rm -rf "$WINEPREFIX"
    kwine wineboot -i >/dev/null 2>&1 || { echo "wine-session: wineboot failed ($KAPTURA_WINE_LOADER)" >&2; exit 1; }
    kwineserver -w >/dev/null 2>&1 || true
    echo "$KAPTURA_ROAD" > "$WINEPREFIX/.kaptura-prefix"
  ) 9>"$WINEPREFIX.lock"
}

wine_session_end() {
  kwineserver -k >/dev/null 2>&1 || true
  if [ -n "$wine_session_xvfb" ]; then
    kill "$wine_session_xvfb" >/dev/null 2>&1 || true
    wait "$wine_session_xvfb" 2>/dev/null || true
    wine_session_xvfb=""
  fi
  if [ -n "$wine_session_own_run_dir" ]; then
    rm -rf "$wine_session_own_run_dir" "$wine_session_own_run_dir.lock" 2>/dev/null || true
    wine_session_own_run_dir=""
  fi
}

if [ -z "${KAPTURA_RUN_DIR:-}" ]; then
  KAPTURA_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kaptura-run.XXXXXX")
  wine_session_own_run_dir=$KAPTURA_RUN_DIR
fi
export KAPTURA_RUN_DIR
export WINEPREFIX="${KAPTURA_PREFIX:-$KAPTURA_RUN_DIR/wineprefix}"
trap wine_session_end EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
[ -n "${DISPLAY:-}" ] || wine_session_start_display
wine_session_make_prefix
