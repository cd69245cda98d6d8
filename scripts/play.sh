#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game on its data tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
bash "$root/scripts/build.sh"
exec "$build/vovaro" "$@"
