#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
