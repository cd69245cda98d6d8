#!/usr/bin/env bash
# Configures and builds everything (game, tools, data tree, tests, benchmarks) into build/.
#   JOBS        parallel build jobs (default: the number of cores)
#   BUILD_DIR   the build folder (default: build/)
#   BUILD_TYPE  the CMake build type (default: RelWithDebInfo)
# Compilations go through ccache when it is installed, so a machine that built
# before rebuilds quickly, from any checkout folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
type="${BUILD_TYPE:-RelWithDebInfo}"
jobs="${JOBS:-$(nproc)}"
bash "$root/scripts/setup.sh"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  # Paths below the checkout hash alike wherever it lies.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" >/dev/null
cmake --build "$build" -- -j"$jobs"
