#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# native tests under the sanitizers, fuzzing smoke runs, and the Windows
# test programs under Wine on a virtual display with a fresh prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/wine-session.sh"
cd "$root/build"
ctest --output-on-failure -j"$(nproc)" --timeout 900
