#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Lumavex and
# Veltrane needs. Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6multimedia6
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev libzip-dev
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xdotool x11-apps imagemagick
  zip unzip p7zip-full python3-pil
  # yardsticks of the benchmarks only: the build skips them when they are absent
  libcairo2-dev libopencv-imgproc-dev
  clang libclang-rt-dev
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
echo "setup: all packages present"
