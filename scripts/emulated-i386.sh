#!/usr/bin/env bash
# Runs a command in which i386 programs start although the kernel refuses
# them:
#   emulated-i386.sh <command> [arguments]
#   emulated-i386.sh --check     (only whether the emulator is fit for it)
# The command runs in a user and mount namespace of its own, with a
# binfmt_misc instance of its own (a kernel 6.7 or newer gives each user
# namespace one) that hands i386 ELF files to qemu's i386 emulator. Nothing
# outside the namespace changes. Fails, saying why, when the namespace or
# the emulator cannot be had.
#
# KAPTURA_QEMU_I386 names the emulator (default /usr/bin/qemu-i386, of
# Debian's qemu-user).
set -euo pipefail
KAPTURA_QEMU_I386=${KAPTURA_QEMU_I386:-/usr/bin/qemu-i386}
# Debian 12's qemu 7.2 treats MAP_FIXED_NOREPLACE as a mere hint: the
# 32-bit Wine then reserves its address space 64 KiB at a time and a prefix
# takes minutes to fail. 10.0 (bookworm-backports) makes one in about 30 s.
emulated_i386_min_major=10

die() { echo "emulated-i386: $*" >&2; exit 1; }

# The i386 ELF entry (programs and shared objects). "F" opens the emulator
# now, so that it is found whatever the command's view of the files.
i386_entry() {
  printf ':kaptura-i386:M::%s:%s:%s:F' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
    '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
    "$KAPTURA_QEMU_I386"
}

# The emulator's major version, empty when it does not answer.
qemu_major() {
  "$KAPTURA_QEMU_I386" --version 2>/dev/null | sed -n '1s/.* version \([0-9]\{1,\}\)\..*/\1/p'
}

check_emulator() {
  [ -x "$KAPTURA_QEMU_I386" ] || die "no i386 emulator at $KAPTURA_QEMU_I386 (package qemu-user-static)"
  local major
  major=$(qemu_major)
  [ -n "$major" ] || die "$KAPTURA_QEMU_I386 does not say its version"
  [ "$major" -ge "$emulated_i386_min_major" ] ||
    die "$KAPTURA_QEMU_I386 is version $major; the 32-bit Wine needs $emulated_i386_min_major or newer"
}

inside() {
  local misc=/proc/sys/fs/binfmt_misc
  mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null ||
    die "cannot mount a binfmt_misc of the namespace's own (a kernel older than 6.7?)"
  i386_entry >"$misc/register" || die "binfmt_misc refused the i386 entry"
  exec "$@"
}

[ $# -gt 0 ] || { echo "usage: emulated-i386.sh <command> [arguments] | --check" >&2; exit 2; }
case "$1" in
  --inside) shift; inside "$@" ;;
  --check) check_emulator; exit 0 ;;
esac
check_emulator
command -v unshare >/dev/null || die "unshare (util-linux) is missing"
exec unshare --user --map-root-user --mount -- bash "$0" --inside "$@"
