#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root),
# only when something is missing: both cross compilers (the 32-bit product
# and the 64-bit test build), the 64-bit Wine, and the 32-bit Wine where the
# machine can run 32-bit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/windows-road.sh"
packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev zlib1g-dev
  wine wine64 fonts-wine xvfb xauth x11-utils xdotool xclip
  imagemagick netpbm libjpeg-turbo-progs pngcheck libtiff-tools giflib-tools libwpg-tools
  libpng-dev libjpeg62-turbo-dev libgif-dev libstb-dev
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils
)
runs_i386=""
if machine_runs_i386; then
  runs_i386=1
  packages+=(wine32:i386 libcups2:i386)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if [ -n "$runs_i386" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
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
  case "$package" in *:i386) foreign+=("$package") ;; *) native+=("$package") ;; esac
done
[ ${#native[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${native[@]}"
# The 32-bit Wine needs the i386 lists to match the machine's own (a mirror
# mid-sync can leave them apart): without it the 64-bit road is taken, as on
# a machine that runs no 32-bit code (scripts/windows-road.sh says so).
if [ ${#foreign[@]} -gt 0 ] && ! apt-get install -y -q --no-install-recommends "${foreign[@]}"; then
  echo "install-deps: the 32-bit Wine could not be installed; the Windows tests take the 64-bit road"
fi
