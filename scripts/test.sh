#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
#   JOBS  parallel build jobs and test processes (default: the number of cores)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
jobs="${JOBS:-$(nproc)}"
bash "$root/scripts/build.sh"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd "$build"
ctest --output-on-failure -j"$jobs" --timeout 600
