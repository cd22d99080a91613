#!/usr/bin/env bash
# Installs what is missing, builds, and starts the capture program (under
# Wine, on a virtual display when no display is set).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/wine-session.sh"
cd "$root/build/win/bin"
wine Kaptura99.exe
wineserver -w
