#!/usr/bin/env bash
# Installs every Debian package needed to build, run headless and test.
# Does nothing when everything is already present; uses sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  libogre-1.12-dev libcegui-mk2-dev libcegui-mk2-data libois-dev
  libopenal-dev libsndfile1-dev libvorbis-dev
  libluabind-dev libxerces-c-dev libbullet-dev
  libboost-program-options-dev libboost-filesystem-dev libboost-date-time-dev zlib1g-dev
  libstb-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri xdotool imagemagick fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
