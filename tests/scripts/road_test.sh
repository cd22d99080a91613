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
    mkdir -p "\$WINEPREFIX/drive_c/windows/system32"
    echo module >"\$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
    echo registry >"\$WINEPREFIX/system.reg"
    echo wine-server-name >"\$WINEPREFIX/wineserver"
    exit 0 ;;
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
unset KAPTURA_WIN64 KAPTURA_RUN_DIR KAPTURA_PREFIX KAPTURA_PREFIX_TEMPLATE WINEPREFIX

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
  # Why there is no 32-bit road: the kernel comes first, where it refuses.
  local missing_why="*not installed*"
  (source "$root/scripts/windows-road.sh" && machine_runs_i386) || missing_why="*kernel refuses i386*"
  expect_match "no 32-bit Wine" "$(road KAPTURA_WINE32_LOADER="$scratch/none")" "win64 win64 wine64 | $missing_why"
}

# The 32-bit product's main road under the emulator: only where the 64-bit
# road is taken because the kernel refuses i386 programs.
emulated() {
  env "$@" bash -c 'source "$0/scripts/windows-road.sh"; echo "${KAPTURA_ROAD_EMULATED_32BIT:-no}"' "$root"
}
test_emulated_road_choice() {
  local refuses=1
  (source "$root/scripts/windows-road.sh" && machine_runs_i386) && refuses=no
  expect_eq "32-bit Wine that starts" "$(emulated)" no
  expect_eq "32-bit Wine that does not start" "$(emulated KAPTURA_WINE32_LOADER="$scratch/broken32")" "$refuses"
  expect_eq "no 32-bit Wine" "$(emulated KAPTURA_WINE32_LOADER="$scratch/none")" "$refuses"
  expect_eq "64-bit road asked for" "$(emulated KAPTURA_WINE32_LOADER="$scratch/broken32" KAPTURA_WIN64=1)" no
}

# fake_emulator <name> <version>: says its version, and "runs" an i386
# program by writing its path down and ending as the probe program does.
fake_emulator() {
  cat >"$scratch/$1" <<FAKE
#!/bin/sh
[ "\$1" = --version ] && { echo "qemu-i386 version $2 (Debian 1:$2+dfsg)"; exit 0; }
echo "\$1" >>"$scratch/$1.runs"
exit 42
FAKE
  chmod +x "$scratch/$1"
}

# runs_i386 [emulated-i386.sh]: "runs" when an i386 program starts, there
# or (without an argument) here.
runs_i386() {
  "$@" bash -c 'source "$0/scripts/windows-road.sh"; machine_runs_i386 && echo runs || echo refused' "$root" 2>&1
}

# i386 programs start under the emulator inside its namespace and nowhere
# else; an emulator too old for the 32-bit Wine is refused.
test_emulated_i386() {
  local run="$root/scripts/emulated-i386.sh" here out status
  fake_emulator qemu-old 7.2.19
  fake_emulator qemu-new 10.0.2
  out=$(KAPTURA_QEMU_I386="$scratch/qemu-old" bash "$run" true 2>&1)
  status=$?
  expect_eq "old emulator: status" "$status" 1
  expect_match "old emulator: message" "$out" "*version 7;*10 or newer*"
  out=$(KAPTURA_QEMU_I386="$scratch/none" bash "$run" true 2>&1)
  status=$?
  expect_eq "no emulator: status" "$status" 1
  expect_match "no emulator: message" "$out" "*no i386 emulator*"

  here=$(runs_i386)
  out=$(KAPTURA_QEMU_I386="$scratch/qemu-new" runs_i386 bash "$run")
  # A namespace's own binfmt_misc needs a kernel of 6.7 or newer; a machine
  # that runs i386 programs itself never asks for one.
  [ "$here" = runs ] && [[ "$out" == *"cannot mount a binfmt_misc"* ]] && return
  expect_eq "i386 program in the namespace" "$out" runs
  expect_match "the emulator ran it" "$(cat "$scratch/qemu-new.runs" 2>/dev/null)" "*/kaptura-i386.*"
  expect_eq "i386 program outside" "$(runs_i386)" "$here"
  expect_eq "the emulator outside" "$(wc -l <"$scratch/qemu-new.runs")" 1
  # Where the road needs it, the real one.
  [ "$here" = runs ] || expect_eq "i386 program under qemu" "$(runs_i386 bash "$run")" runs

  out=$(KAPTURA_QEMU_I386="$scratch/qemu-new" KAPTURA_WINE32_LOADER="$scratch/broken32" \
        bash "$root/scripts/emulated-road.sh" 2>&1)
  status=$?
  expect_eq "no 32-bit Wine under the emulator: status" "$status" 1
  expect_match "no 32-bit Wine under the emulator: message" "$out" "*32-bit Wine does not start under the emulator*"
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

# session <file> [env...] [-- commands]: a script that sources the session,
# writes its display, run folder, prefix and display server and whether one answers
# there, runs the commands and holds the session a moment.
session() {
  local file=$1; shift
  local assignments=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do assignments+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  env -u DISPLAY "${assignments[@]}" bash -c 'set -euo pipefail
    source "$0/scripts/wine-session.sh"
    file=$1; shift
    echo "$DISPLAY $KAPTURA_RUN_DIR $WINEPREFIX $wine_session_xvfb" >"$file"
    xdpyinfo >/dev/null 2>&1 && echo live >>"$file"
    eval "$*"
    sleep 1' "$root" "$file" "$@"
}
field() { head -n 1 "$1" | cut -d' ' -f"$2"; }

test_sessions_side_by_side() {
  local run="$scratch/run" prefix="$scratch/run/shared" i displays
  mkdir -p "$run"
  for i in 1 2 3; do session "$scratch/session$i" KAPTURA_RUN_DIR="$run" KAPTURA_PREFIX="$prefix" & done
  wait
  displays=$(for i in 1 2 3; do field "$scratch/session$i" 1; done | sort -u | wc -l)
  expect_eq "sessions started at once: displays" "$displays" 3
  for i in 1 2 3; do
    expect_eq "session $i: server answers" "$(sed -n 2p "$scratch/session$i")" live
    # The display's server, not its number: another run may take the number.
    kill -0 "$(field "$scratch/session$i" 4)" 2>/dev/null && fail "session $i: its display outlived it"
  done
  expect_eq "shared prefix made once" "$(wc -l <"$prefix.boots")" 1
  [ -f "$prefix/.kaptura-prefix" ] || fail "shared prefix not marked whole"
  [ -d "$run" ] || fail "a run folder the caller gave was removed"
}

test_prefixes_of_a_run() {
  local report="$scratch/nested.out" run folder
  # A test case within the run: its own prefix, reported against the first.
  cat >"$scratch/nested.sh" <<'CASE'
source "$2/scripts/wine-session.sh"
module=drive_c/windows/system32/kernel32.dll
{
  stat -c %i "$WINEPREFIX/$module" "$KAPTURA_PREFIX_TEMPLATE/$module" | sort -u | wc -l
  stat -c %i "$WINEPREFIX/system.reg" "$KAPTURA_PREFIX_TEMPLATE/system.reg" | sort -u | wc -l
  server=$(cat "$WINEPREFIX/wineserver")
  [ "$server" = "$(cat "$KAPTURA_PREFIX_TEMPLATE/wineserver")" ] && echo server-shared
  [ -d "/tmp/$server" ] && echo "server-folder /tmp/$server"
  echo "$WINEPREFIX"
} >"$1"
CASE
  session "$scratch/outer" -- \
    'KAPTURA_PREFIX="$KAPTURA_RUN_DIR/case-prefix" bash "'"$scratch/nested.sh"'" "'"$report"'" "'"$root"'"'
  run=$(field "$scratch/outer" 2)
  [ -d "$run" ] && fail "the run's folder stayed after its session"
  expect_eq "modules shared with the first prefix" "$(sed -n 1p "$report")" 1
  expect_eq "registry of its own" "$(sed -n 2p "$report")" 2
  grep -q server-shared "$report" && fail "a copied prefix shares the server of the first"
  folder=$(grep '^server-folder ' "$report" | cut -d' ' -f2)
  [ -n "$folder" ] || fail "a copied prefix has no server folder ready"
  [ -n "$folder" ] && [ -d "$folder" ] && fail "the server folder stayed after the run"
  expect_match "case's prefix" "$(tail -n 1 "$report")" "*/case-prefix"
}

test_prefix_repairs_and_failures() {
  local run="$scratch/repairs" prefix="$scratch/repairs/half" out status
  mkdir -p "$prefix/drive_c"
  session "$scratch/half.out" DISPLAY=:9999 KAPTURA_RUN_DIR="$run" KAPTURA_PREFIX="$prefix" >/dev/null 2>&1
  expect_eq "half-made prefix made again" "$(wc -l <"$prefix.boots")" 1
  [ -d "$prefix/drive_c/windows" ] || fail "half-made prefix not made again"
  out=$(session "$scratch/fails.out" DISPLAY=:9999 KAPTURA_RUN_DIR="$run" KAPTURA_PREFIX="$run/fails" \
        FAKE_BOOT_FAILS=1 2>&1)
  status=$?
  [ "$status" = 0 ] && fail "a prefix that cannot be made gives a session"
  expect_match "failed prefix: message" "$out" "*wineboot failed*"
  [ -f "$run/fails/.kaptura-prefix" ] && fail "a failed prefix was marked whole"
}

# End-to-end cases (tests/e2e/e2e-lib.sh): each has a prefix of its own, a
# copy of the run's first, gone with the case when it passes; deadlines for
# what must happen are stretched for a loaded machine, polls are not.
test_case_prefixes() {
  local bin="$scratch/bin" e2e="$scratch/e2e" i
  mkdir -p "$bin"
  : >"$bin/Kaptura99.exe"
  : >"$bin/Pictova.dll"
  cat >"$scratch/case.sh" <<'CASE'
source "$2/tests/e2e/e2e-lib.sh"
module=drive_c/windows/system32/kernel32.dll
{
  echo "$case_dir"
  [ "$WINEPREFIX" = "$case_dir/prefix" ] && echo own-prefix || echo "prefix $WINEPREFIX"
  stat -c %i "$WINEPREFIX/$module" "$KAPTURA_PREFIX_TEMPLATE/$module" | sort -u | wc -l
  echo "/tmp/$(cat "$WINEPREFIX/wineserver")"
  kd_stretch_deadline wait-dialog 12 "A title" 10; echo "${#kd_args[@]} ${kd_args[2]} ${kd_args[3]}"
  kd_stretch_deadline wait-gone 0x10 1; echo "${kd_args[2]}"
  kd_stretch_deadline watch-dialog 'Z:\a b' - - 60; echo "${kd_args[1]} ${kd_args[4]}"
} >"$1"
CASE
  session "$scratch/cases" -- \
    'cases=(); for i in 1 2; do BIN="'"$bin"'" E2E_ROOT="'"$e2e"'" bash "'"$scratch/case.sh"'" "'"$scratch/case"'$i.out" "'"$root"'" & cases+=($!); done; wait "${cases[@]}"'
  for i in 1 2; do
    expect_eq "case $i: a prefix of its own" "$(sed -n 2p "$scratch/case$i.out")" own-prefix
    expect_eq "case $i: modules shared with the first prefix" "$(sed -n 3p "$scratch/case$i.out")" 1
    [ -d "$(sed -n 1p "$scratch/case$i.out")" ] && fail "case $i: its folder stayed after it passed"
    [ -d "$(sed -n 4p "$scratch/case$i.out")" ] && fail "case $i: its server folder stayed"
  done
  [ "$(sed -n 1p "$scratch/case1.out")" != "$(sed -n 1p "$scratch/case2.out")" ] || fail "two cases shared a folder"
  expect_eq "deadline stretched, title kept whole" "$(sed -n 5p "$scratch/case1.out")" "4 A title 30"
  expect_eq "poll left as it is" "$(sed -n 6p "$scratch/case1.out")" 1
  expect_eq "watch deadline stretched" "$(sed -n 7p "$scratch/case1.out")" 'Z:\a b 180'
}

# The PDF printer's folder comes from its configuration and the password
# database, whatever HOME says.
test_print_outbox() {
  local conf="$scratch/cups-pdf.conf" home
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  printf '### comment\n#Out /nowhere\nOut ${HOME}/PDF\n' >"$conf"
  expect_eq "outbox with another HOME" \
    "$(HOME=/elsewhere CUPS_PDF_CONF="$conf" bash -c "source '$root/scripts/print-queue.sh' >/dev/null 2>&1; print_queue_outbox")" \
    "$home/PDF"
  printf 'Out /var/spool/cups-pdf/${USER}  \n' >"$conf"
  expect_eq "outbox by user name" \
    "$(CUPS_PDF_CONF="$conf" bash -c "source '$root/scripts/print-queue.sh' >/dev/null 2>&1; print_queue_outbox root")" \
    "/var/spool/cups-pdf/root"
  : >"$conf"
  expect_eq "outbox without an Out line" \
    "$(HOME=/elsewhere CUPS_PDF_CONF="$conf" bash -c "source '$root/scripts/print-queue.sh' >/dev/null 2>&1; print_queue_outbox root")" \
    "$(getent passwd root | cut -d: -f6)/PDF"
}

# The display's WM_STATE keeper: a window shown is Normal, hidden Withdrawn,
# as a window manager would say (Wine waits for it on every hide).
window_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
wait_window_state() {
  local state=""
  for _ in $(seq 200); do
    state=$(window_state "$1")
    [ "$state" = "$2" ] && break
    sleep 0.05
  done
  echo "$state"
}
test_display_keeps_window_states() {
  [ -x "$root/build/native/bin/wm_state_keeper" ] || { fail "wm_state_keeper is not built"; return; }
  (
    source "$root/scripts/virtual-display.sh"
    virtual_display_start 640x480x24 || exit 1
    trap 'kill "$virtual_display_pid"' EXIT
    xmessage -name keeper-test "a window" &
    local window=""
    for _ in $(seq 200); do
      window=$(xdotool search --name keeper-test 2>/dev/null | head -1)
      [ -n "$window" ] && break
      sleep 0.05
    done
    [ -n "$window" ] || { echo "FAIL: no test window"; exit 1; }
    expect_eq "state of a shown window" "$(wait_window_state "$window" Normal)" Normal
    xdotool windowunmap "$window"
    expect_eq "state of a hidden window" "$(wait_window_state "$window" Withdrawn)" Withdrawn
    exit "$failures"
  ) || fail "the display's window states"
}

test_print_outbox
test_display_keeps_window_states
test_road_choice
test_emulated_road_choice
test_emulated_i386
test_loader_per_program
test_sessions_side_by_side
test_prefixes_of_a_run
test_prefix_repairs_and_failures
test_case_prefixes
[ "$failures" = 0 ] && echo "all road checks passed"
exit $((failures > 0))
