#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root),
# only when something is missing: both cross compilers (the 32-bit product
# and the 64-bit test build), the 64-bit and the 32-bit Wine, and where the
# kernel refuses i386 programs, qemu's i386 emulator the 32-bit Wine runs
# under there (scripts/emulated-i386.sh; Debian 12 has a new enough one in
# its backports only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev zlib1g-dev
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool xclip libx11-dev
  imagemagick netpbm libjpeg-turbo-progs pngcheck libtiff-tools giflib-tools libwpg-tools
  libpng-dev libjpeg62-turbo-dev libgif-dev libstb-dev
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils
  wine32:i386 libcups2:i386
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
# Whether the i386 emulator there is fit for the 32-bit Wine.
emulator_fit() { bash "$root/scripts/emulated-i386.sh" --check; }
emulator=""
if ! machine_runs_i386 && ! emulator_fit >/dev/null 2>&1; then
  emulator=qemu-user
  missing+=("$emulator")
fi
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index now and then: try again, and go on
# with the lists that did arrive (the install below says if a package is missing).
for attempt in 1 2 3; do
  apt-get update -q && break
  echo "apt-get update failed (attempt $attempt)"; sleep $((attempt * 5))
done
native=() foreign=()
for package in "${missing[@]}"; do
  case "$package" in "$emulator") ;; *:i386) foreign+=("$package") ;; *) native+=("$package") ;; esac
done
[ ${#native[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${native[@]}"
# The 32-bit Wine needs the i386 lists to match the machine's own (a mirror
# mid-sync can leave them apart): without it the 64-bit road is taken, as on
# a machine that runs no 32-bit code (scripts/windows-road.sh says so).
if [ ${#foreign[@]} -gt 0 ] && ! apt-get install -y -q --no-install-recommends "${foreign[@]}"; then
  echo "install-deps: the 32-bit Wine could not be installed; the Windows tests take the 64-bit road alone"
fi

# The emulator from the release's own lists, or where that one is too old
# (Debian 12), from the release's backports.
install_emulator() {
  local release mirror
  apt-get install -y -q --no-install-recommends "$emulator" && emulator_fit && return 0
  release=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mirror=$(apt-cache policy | awk -v main="$release/main" '$3 == main {print $2; exit}')
  echo "deb ${mirror:-http://deb.debian.org/debian} $release-backports main" >/etc/apt/sources.list.d/kaptura-backports.list
  apt-get update -q || true
  apt-get install -y -q --no-install-recommends -t "$release-backports" "$emulator" && emulator_fit
}
if [ -n "$emulator" ] && ! install_emulator; then
  echo "install-deps: no i386 emulator fit for the 32-bit Wine; the 32-bit product's main road cannot run here"
fi
