# Sourced by the scripts: a virtual display and a fresh Wine prefix of this
# run's own, both taken down when the calling script exits.
: "${KAPTURA_RUN_DIR:=$(mktemp -d /tmp/kaptura-run.XXXXXX)}"
export WINEPREFIX="$KAPTURA_RUN_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
started_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for number in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$number"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$started_xvfb" ] && kill "$started_xvfb" >/dev/null 2>&1 || true
}
trap wine_session_end EXIT
source "$(dirname "${BASH_SOURCE[0]}")/print-queue.sh"   # the printer, before the prefix
wineboot -i >/dev/null 2>&1
wineserver -w >/dev/null 2>&1 || true
