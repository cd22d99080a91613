# Sourced by the scripts: which Windows build this machine runs its Windows
# tests and programs on. The product is 32-bit (build/win); a machine that
# cannot execute 32-bit code (its kernel refuses i386 programs, so the 32-bit
# Wine loader does not start) runs the 64-bit test build of the same sources
# (build/win64) under the 64-bit Wine instead. KAPTURA_WIN64=1 forces the
# 64-bit road on any machine.
#
# Exports KAPTURA_ROAD (win32 or win64), KAPTURA_ROAD_BUILD (its build
# folder), KAPTURA_WINE_LOADER (its Wine loader), KAPTURA_ROAD_WHY (one
# line for the logs) and KAPTURA_ROAD_EMULATED_32BIT (1 when the 64-bit
# road was taken only because the kernel refuses i386 programs: there the
# 32-bit product's main road runs under an emulator, scripts/emulated-road.sh).
kaptura_root=${kaptura_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
KAPTURA_WINE32_LOADER=${KAPTURA_WINE32_LOADER:-/usr/lib/wine/wine}
KAPTURA_WINE64_LOADER=${KAPTURA_WINE64_LOADER:-/usr/lib/wine/wine64}

# True when the kernel runs i386 programs at all: a 96-byte one that only
# ends with status 42 (on a kernel without IA-32 emulation its start fails).
machine_runs_i386() {
  local probe status=0
  probe=$(mktemp "${TMPDIR:-/tmp}/kaptura-i386.XXXXXX") || return 1
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" >/dev/null 2>&1 || status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

# True when the 32-bit Wine loader starts on this machine.
windows_road_runs_32bit() {
  [ -x "$KAPTURA_WINE32_LOADER" ] && "$KAPTURA_WINE32_LOADER" --version >/dev/null 2>&1
}

windows_road_choose() {
  KAPTURA_ROAD_EMULATED_32BIT=""
  case "${KAPTURA_WIN64:-}" in
    1|yes|true|on)
      KAPTURA_ROAD=win64
      KAPTURA_ROAD_WHY="KAPTURA_WIN64=$KAPTURA_WIN64 asks for it" ;;
    *)
      if windows_road_runs_32bit; then
        KAPTURA_ROAD=win32
        KAPTURA_ROAD_WHY="this machine runs 32-bit code"
      else
        KAPTURA_ROAD=win64
        if ! machine_runs_i386; then
          KAPTURA_ROAD_WHY="this machine cannot run 32-bit code (the kernel refuses i386 programs)"
          KAPTURA_ROAD_EMULATED_32BIT=1
        elif [ ! -x "$KAPTURA_WINE32_LOADER" ]; then
          KAPTURA_ROAD_WHY="the 32-bit Wine ($KAPTURA_WINE32_LOADER) is not installed"
        else
          KAPTURA_ROAD_WHY="the 32-bit Wine loader ($KAPTURA_WINE32_LOADER) does not start"
        fi
      fi ;;
  esac
}

windows_road_choose
if [ "$KAPTURA_ROAD" = win64 ]; then
  KAPTURA_ROAD_BUILD="$kaptura_root/build/win64"
  KAPTURA_WINE_LOADER=$KAPTURA_WINE64_LOADER
else
  KAPTURA_ROAD_BUILD="$kaptura_root/build/win"
  KAPTURA_WINE_LOADER=$KAPTURA_WINE32_LOADER
fi
export KAPTURA_ROAD KAPTURA_ROAD_BUILD KAPTURA_ROAD_WHY KAPTURA_ROAD_EMULATED_32BIT KAPTURA_WINE_LOADER \
  KAPTURA_WINE32_LOADER KAPTURA_WINE64_LOADER

