#!/bin/sh
# The one way the scripts and the tests start a Windows program:
#   wine-run.sh <program.exe or Wine tool> [arguments]
# A program file runs under the Wine loader of its own kind (32-bit programs
# under wine, 64-bit ones under wine64); Wine's own tools (wineboot,
# explorer...) under the loader of the road scripts/windows-road.sh chose.
# The prefix and the display are the caller's (scripts/wine-session.sh).
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d;wineusb.sys,winebus.sys=d}"
wine32=${KAPTURA_WINE32_LOADER:-/usr/lib/wine/wine}
wine64=${KAPTURA_WINE64_LOADER:-/usr/lib/wine/wine64}

# The machine field of a PE file's header: 014c (i386), 8664 (x86-64).
pe_machine() {
  [ -f "$1" ] || return 1
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 1
  od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

[ $# -gt 0 ] || { echo "usage: wine-run.sh <program> [arguments]" >&2; exit 2; }
case "$(pe_machine "$1")" in
  014c) loader=$wine32 ;;
  8664) loader=$wine64 ;;
  *) loader=${KAPTURA_WINE_LOADER:-$wine32} ;;
esac
if [ ! -x "$loader" ]; then
  echo "wine-run.sh: no Wine loader $loader for $1" >&2
  exit 127
fi
exec "$loader" "$@"
