#!/usr/bin/env bash
# Tests of the Windows road machinery: the road a machine takes, the loader
# each program starts under, and the session's display and prefix. Fake
# loaders stand in for Wine (they print what they were asked to run, and
# "make" a prefix when asked to boot one); only Xvfb is real.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/road-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"; }
expect_match() { [[ "$2" == $3 ]] || fail "$1: '$2' does not match '$3'"; }

# fake_loader <name> <status of --version>
fake_loader() {
  cat >"$scratch/$1" <<FAKE
#!/bin/sh
case "\$1" in
  --version) exit $2 ;;
  wineboot)
    echo boot >>"\$WINEPREFIX.boots"
    sleep 0.3
    [ -n "\${FAKE_BOOT_FAILS:-}" ] && exit 1
    mkdir -p "\$WINEPREFIX"; exit 0 ;;
esac
echo "$1 \$* WINEDEBUG=\$WINEDEBUG"
FAKE
  chmod +x "$scratch/$1"
}
fake_loader wine32 0
fake_loader wine64 0
fake_loader broken32 1
export KAPTURA_WINE32_LOADER="$scratch/wine32" KAPTURA_WINE64_LOADER="$scratch/wine64"
export KAPTURA_WINESERVER=true
unset KAPTURA_WIN64

# A PE header: "MZ", the header's offset at 0x3c, "PE\0\0", the machine.
make_pe() {
  { printf 'MZ'; head -c 58 /dev/zero; printf '\100\000\000\000PE\000\000'; printf "$2"; head -c 20 /dev/zero; } >"$1"
}
make_pe "$scratch/prog32.exe" '\114\001'
make_pe "$scratch/prog64.exe" '\144\206'
printf 'MZ\000' >"$scratch/short.exe"
{ printf 'MZ'; head -c 58 /dev/zero; printf '\377\377\000\000'; } >"$scratch/beyond.exe"

# road <env assignments...>: "road build-folder loader | why" as chosen.
road() {
  env "$@" bash -c 'source "$0/scripts/windows-road.sh"
    echo "$KAPTURA_ROAD $(basename "$KAPTURA_ROAD_BUILD") $(basename "$KAPTURA_WINE_LOADER") | $KAPTURA_ROAD_WHY"' "$root"
}

test_road_choice() {
  expect_eq "32-bit machine" "$(road | cut -d'|' -f1)" "win32 win wine32 "
  expect_eq "forced" "$(road KAPTURA_WIN64=1 | cut -d'|' -f1)" "win64 win64 wine64 "
  expect_match "forced, why" "$(road KAPTURA_WIN64=1)" "*KAPTURA_WIN64=1*"
  expect_eq "not forced by 0" "$(road KAPTURA_WIN64=0 | cut -d'|' -f1)" "win32 win wine32 "
  expect_eq "loader that does not start" "$(road KAPTURA_WINE32_LOADER="$scratch/broken32" | cut -d'|' -f1)" \
    "win64 win64 wine64 "
  expect_match "loader that does not start, why" "$(road KAPTURA_WINE32_LOADER="$scratch/broken32")" \
    "*32-bit*"
  expect_match "no 32-bit Wine" "$(road KAPTURA_WINE32_LOADER="$scratch/none")" "win64 win64 wine64 | *not installed*"
}

test_loader_per_program() {
  local run="$root/scripts/wine-run.sh" out status
  expect_eq "32-bit program" "$("$run" "$scratch/prog32.exe" a 'b c')" \
    "wine32 $scratch/prog32.exe a b c WINEDEBUG=-all"
  expect_eq "64-bit program" "$("$run" "$scratch/prog64.exe")" "wine64 $scratch/prog64.exe WINEDEBUG=-all"
  expect_eq "64-bit program, 32-bit road" "$(KAPTURA_WINE_LOADER="$scratch/wine32" "$run" "$scratch/prog64.exe")" \
    "wine64 $scratch/prog64.exe WINEDEBUG=-all"
  expect_eq "Wine tool on the 64-bit road" "$(KAPTURA_WINE_LOADER="$scratch/wine64" "$run" explorer /desktop=test)" \
    "wine64 explorer /desktop=test WINEDEBUG=-all"
  expect_eq "truncated program" "$(KAPTURA_WINE_LOADER="$scratch/wine64" "$run" "$scratch/short.exe")" \
    "wine64 $scratch/short.exe WINEDEBUG=-all"
  expect_eq "header beyond the end" "$(KAPTURA_WINE_LOADER="$scratch/wine32" "$run" "$scratch/beyond.exe")" \
    "wine32 $scratch/beyond.exe WINEDEBUG=-all"
  expect_eq "debug channels kept" "$(WINEDEBUG=+seh "$run" "$scratch/prog32.exe")" \
    "wine32 $scratch/prog32.exe WINEDEBUG=+seh"
  out=$(KAPTURA_WINE64_LOADER="$scratch/none" "$run" "$scratch/prog64.exe" 2>&1)
  status=$?
  expect_eq "no loader: status" "$status" 127
  expect_match "no loader: message" "$out" "*no Wine loader*"
}

# session <file> [env...]: a script that sources the session, writes its
# display and whether an X server answers there, and holds it a moment.
session() {
  local file=$1; shift
  env -u DISPLAY "$@" bash -c 'set -euo pipefail
    source "$0/scripts/wine-session.sh"
    echo "$DISPLAY $KAPTURA_RUN_DIR" >"$1"
    xdpyinfo >/dev/null 2>&1 && echo live >>"$1"
    sleep 1' "$root" "$file"
}

test_sessions_side_by_side() {
  local prefix="$scratch/shared/prefix" i displays
  for i in 1 2 3; do session "$scratch/session$i" KAPTURA_PREFIX="$prefix" & done
  wait
  displays=$(for i in 1 2 3; do head -n 1 "$scratch/session$i" | cut -d' ' -f1; done | sort -u | wc -l)
  expect_eq "sessions started at once: displays" "$displays" 3
  for i in 1 2 3; do
    expect_eq "session $i: server answers" "$(sed -n 2p "$scratch/session$i")" live
    [ -d "$(head -n 1 "$scratch/session$i" | cut -d' ' -f2)" ] && fail "session $i: its run folder stayed"
    DISPLAY=$(head -n 1 "$scratch/session$i" | cut -d' ' -f1) xdpyinfo >/dev/null 2>&1 \
      && fail "session $i: its display outlived it"
  done
  expect_eq "shared prefix made once" "$(wc -l <"$prefix.boots")" 1
  [ -f "$prefix/.kaptura-prefix" ] || fail "shared prefix not marked whole"
}

test_prefix_repairs_and_failures() {
  local prefix="$scratch/half/prefix" out status
  mkdir -p "$prefix/drive_c"
  session "$scratch/half.out" DISPLAY=:9999 KAPTURA_PREFIX="$prefix" >/dev/null 2>&1
  expect_eq "half-made prefix made again" "$(wc -l <"$prefix.boots")" 1
  [ -d "$prefix/drive_c" ] && fail "half-made prefix kept its old contents"
  out=$(session "$scratch/fails.out" KAPTURA_PREFIX="$scratch/fails/prefix" FAKE_BOOT_FAILS=1 2>&1)
  status=$?
  [ "$status" = 0 ] && fail "a prefix that cannot be made gives a session"
  expect_match "failed prefix: message" "$out" "*wineboot failed*"
  [ -f "$scratch/fails/prefix/.kaptura-prefix" ] && fail "a failed prefix was marked whole"
  mkdir -p "$scratch/given-run"
  session "$scratch/given.out" KAPTURA_RUN_DIR="$scratch/given-run" >/dev/null
  [ -d "$scratch/given-run" ] || fail "a run folder the caller gave was removed"
}

test_road_choice
test_loader_per_program
test_sessions_side_by_side
test_prefix_repairs_and_failures
[ "$failures" = 0 ] && echo "all road checks passed"
exit $((failures > 0))
