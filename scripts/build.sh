#!/usr/bin/env bash
# Configures and builds everything (game, tools, data tree, tests, benchmarks) into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
type="${BUILD_TYPE:-RelWithDebInfo}"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" >/dev/null
cmake --build "$build" -- -j"$(nproc)"
