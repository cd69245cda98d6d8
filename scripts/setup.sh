#!/usr/bin/env bash
# Installs every system package the build, the game and the tests need. Idempotent and quiet.
# A package manager that is busy (another install, an unattended upgrade) is
# waited for rather than failing at once.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  libsdl2-dev libx11-dev libsqlite3-dev libpugixml-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libopenmpt-dev libvorbis-dev libfreetype-dev fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  lock_wait=(-o DPkg::Lock::Timeout=300)
  echo "Installing: ${missing[*]}"
  # The package lists' lock has no timeout of its own: a busy update is retried.
  for attempt in 1 2 3 4 5 6; do
    if $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get "${lock_wait[@]}" update -qq; then break; fi
    [ "$attempt" -eq 6 ] && { echo "apt-get update failed" >&2; exit 1; }
    echo "The package lists are busy; trying again in 20 s." >&2
    sleep 20
  done
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
