#!/usr/bin/env bash
# Installs every Debian package needed to build, run headless and test.
# Does nothing when everything is already present; uses sudo when not root.
#   --fuzz  also the clang toolchain for the libFuzzer targets (tools/fuzz.sh)
set -euo pipefail

fuzz=0
for arg in "$@"; do
  case "$arg" in
    --fuzz) fuzz=1 ;;
    *) echo "Unknown option: $arg" >&2; exit 2 ;;
  esac
done

packages=(
  build-essential cmake pkg-config ccache python3
  libogre-1.12-dev libcegui-mk2-dev libcegui-mk2-data libois-dev
  libopenal-dev libsndfile1-dev libvorbis-dev
  libluabind-dev libxerces-c-dev libbullet-dev
  libboost-program-options-dev libboost-filesystem-dev libboost-date-time-dev zlib1g-dev
  libstb-dev libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
  xvfb xauth libgl1-mesa-dri xdotool x11-utils imagemagick fonts-dejavu-core
)
if [ "$fuzz" -eq 1 ]; then
  # clang with -fsanitize=fuzzer,address; llvm-14 brings the symbolizer for readable reports.
  packages+=(clang-14 libclang-rt-14-dev llvm-14)
fi

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
