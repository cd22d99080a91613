#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root),
# only when something is missing.
set -euo pipefail
packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev zlib1g-dev
  wine wine32:i386 xvfb xauth x11-utils xdotool xclip
  imagemagick netpbm libjpeg-turbo-progs pngcheck libtiff-tools giflib-tools
  libpng-dev libjpeg62-turbo-dev libgif-dev libstb-dev
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils libcups2:i386
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
