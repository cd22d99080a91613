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
source "$kaptura_root/scripts/virtual-display.sh"

export KAPTURA_WINE="$kaptura_root/scripts/wine-run.sh"
export WINEDEBUG=-all
# Left out: what nothing of the suite uses, and Wine would otherwise start
# with every session of a prefix (a test run starts hundreds, each about a
# second of processor time the less): the .NET and HTML engines, desktop
# menu entries for shell links, and the USB and HID device buses.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;wineusb.sys,winebus.sys=d"
# The screen the tests and the programs expect.
KAPTURA_SCREEN=${KAPTURA_SCREEN:-1280x1024x24}

# Debian's wineserver picks the 64-bit server where there is one: the one the
# prefixes need, as Wine makes them 64-bit whenever the 64-bit Wine is there.
KAPTURA_WINESERVER=${KAPTURA_WINESERVER:-wineserver}

kwine() { "$KAPTURA_WINE" "$@"; }
kwineserver() { "$KAPTURA_WINESERVER" "$@"; }

wine_session_xvfb=""
wine_session_own_run_dir=""

# The session's display (scripts/virtual-display.sh).
wine_session_start_display() {
  virtual_display_start "$KAPTURA_SCREEN" || return 1
  wine_session_xvfb=$virtual_display_pid
}

# A copy of a whole prefix that takes a moment and next to no room: the
# modules, which nothing writes, are hard links to the original's; every
# other file is a copy of its own (Wine rewrites some in place). The copy
# gets a server folder of its own, named in its "wineserver" file before any
# program starts there (else two programs starting at once could each name
# one, and so run in two servers).
wine_session_copy_prefix() {
  local from=$1 to=$2 server
  local modules='.*\.\(dll\|exe\|drv\|sys\|acm\|ax\|cpl\|ocx\|tlb\|ds\|vxd\|com\|nls\)'
  cp -a --link "$from" "$to" || return 1
  # The links of the other files give way to copies, a few processes in all
  # (cases copying the same prefix at once change its files' link counts,
  # which cp, unlike tar, takes in its stride).
  find "$to" -type f ! -iregex "$modules" -delete || return 1
  (cd "$from" && find . -type f ! -name wineserver ! -name .kaptura-prefix ! -iregex "$modules" -print0 |
    xargs -0 -r cp -p --parents -t "$to") || return 1
  if [ -f "$from/wineserver" ]; then
    server=$(mktemp -d /tmp/wine-XXXXXX) || return 1
    printf '%s' "$(basename "$server")" >"$to/wineserver"
    chmod 400 "$to/wineserver"
  fi
}

# Makes the prefix $1 unless a whole one is there: a copy of the run's first
# prefix (KAPTURA_PREFIX_TEMPLATE, made on first need) when the run has one,
# else a new one. Callers sharing a prefix take turns, and a prefix left half
# made is made again.
wine_session_make_prefix() {
  local prefix=$1
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    [ -f "$prefix/.kaptura-prefix" ] && exit 0
    rm -rf "$prefix"
    if [ -n "${KAPTURA_PREFIX_TEMPLATE:-}" ] && [ "$prefix" != "$KAPTURA_PREFIX_TEMPLATE" ]; then
      wine_session_make_prefix "$KAPTURA_PREFIX_TEMPLATE" || exit 1
      wine_session_copy_prefix "$KAPTURA_PREFIX_TEMPLATE" "$prefix" \
        || { echo "wine-session: cannot copy $KAPTURA_PREFIX_TEMPLATE" >&2; exit 1; }
    else
      export WINEPREFIX=$prefix
      kwine wineboot -i >/dev/null 2>&1 || { echo "wine-session: wineboot failed ($KAPTURA_WINE_LOADER)" >&2; exit 1; }
      # The new prefix's theme is switched on but not yet applied: the first
      # program of a session to load the theme library sets the theme's
      # system colours then, while programs already running keep the old
      # ones (a button face of 212,208,200 in one, 245,245,245 in the next).
      # Loading it here, once, settles the colours before any copy is made.
      kwine rundll32 uxtheme.dll,IsThemeActive >/dev/null 2>&1 || true
      kwineserver -w >/dev/null 2>&1 || true
      if grep -q '"ThemeActive"="1"' "$prefix/user.reg" && ! grep -q '"LoadedBefore"="1"' "$prefix/user.reg"; then
        echo "wine-session: the new prefix's theme was not applied" >&2
        exit 1
      fi
      # Wine's own fonts (fonts-wine: Marlett draws the caption buttons) in
      # the prefix's font folder, where this Wine looks for them.
      if [ -d "$prefix/drive_c/windows/Fonts" ]; then
        for font in /usr/share/wine/fonts/*.ttf; do
          [ -e "$font" ] && ln -sf "$font" "$prefix/drive_c/windows/Fonts/" || true
        done
      fi
    fi
    echo "$KAPTURA_ROAD" >"$prefix/.kaptura-prefix"
  ) 9>"$prefix.lock"
}

# The server folders Wine made under /tmp for the run's prefixes (their
# servers have ended by now).
wine_session_remove_server_folders() {
  local named name
  for named in "$1"/*/wineserver; do
    [ -f "$named" ] || continue
    name=$(cat "$named" 2>/dev/null) || continue
    case "$name" in wine-??????) rm -rf "/tmp/$name" ;; esac
  done
}

wine_session_end() {
  wine_session_stop_watchdog
  # The server ends some time after it is told to: a program started in the
  # prefix before then would join the dying one.
  kwineserver -k >/dev/null 2>&1 || true
  kwineserver -w >/dev/null 2>&1 || true
  if [ -n "$wine_session_xvfb" ]; then
    kill "$wine_session_xvfb" >/dev/null 2>&1 || true
    wait "$wine_session_xvfb" 2>/dev/null || true
    wine_session_xvfb=""
  fi
  if [ -n "$wine_session_own_run_dir" ]; then
    wine_session_remove_server_folders "$wine_session_own_run_dir"
    rm -rf "$wine_session_own_run_dir" "$wine_session_own_run_dir.lock" 2>/dev/null || true
    wine_session_own_run_dir=""
  fi
}

# A case that runs out of its time (E2E_SECONDS, the test's) would be killed
# without a word, its programs left running: it ends itself a little
# before, says so, and what it started is taken down.
wine_session_watchdog=""
wine_session_out_of_time() {
  echo "FAIL: the case ran out of its ${E2E_SECONDS} s, at: $BASH_COMMAND" >&2
  exit 143
}
if [ -n "${E2E_SECONDS:-}" ]; then
  { sleep "$((E2E_SECONDS - 20))" && kill -TERM $$ && pkill -TERM -P $$; } >/dev/null 2>&1 &
  wine_session_watchdog=$!
fi
wine_session_stop_watchdog() {
  [ -n "$wine_session_watchdog" ] || return 0
  pkill -P "$wine_session_watchdog" 2>/dev/null || true
  kill "$wine_session_watchdog" 2>/dev/null || true
  wine_session_watchdog=""
}

trap wine_session_end EXIT
trap 'wine_session_out_of_time' TERM
trap 'exit 130' INT
# The first prefix a run needs is made new; every other prefix of the run
# (the test cases' within it too) is a copy of that one.
if [ -z "${KAPTURA_RUN_DIR:-}" ]; then
  KAPTURA_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kaptura-run.XXXXXX")
  wine_session_own_run_dir=$KAPTURA_RUN_DIR
  export KAPTURA_PREFIX_TEMPLATE="$KAPTURA_RUN_DIR/prefix-template"
fi
export KAPTURA_RUN_DIR
export WINEPREFIX="${KAPTURA_PREFIX:-$KAPTURA_RUN_DIR/wineprefix}"
[ -n "${DISPLAY:-}" ] || wine_session_start_display
# The printer, before any prefix: Wine takes in the printers it finds when it
# makes one.
source "$kaptura_root/scripts/print-queue.sh"
wine_session_make_prefix "$WINEPREFIX"
