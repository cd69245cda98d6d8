#!/usr/bin/env bash
# Installs every system package the build, the game and the tests need. Idempotent and quiet.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libsqlite3-dev libpugixml-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
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
  echo "Installing: ${missing[*]}"
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
