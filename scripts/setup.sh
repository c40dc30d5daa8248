#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# builds everything in build/ (Release). Safe to run again.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

PACKAGES=(
  build-essential cmake pkg-config ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev-tools
  libqt6opengl6-dev libgl-dev
  qt6-qpa-plugins libqt6multimedia6 qml6-module-qtmultimedia
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libswscale-dev libavfilter-dev
  libavcodec-extra
  libmp3lame-dev libvorbis-dev libogg-dev libtag1-dev libsoundtouch-dev libfftw3-dev
  libespeak-ng-dev libcdio-dev libcdio-paranoia-dev libcddb2-dev
  libgtest-dev libgmock-dev
  ffmpeg sox libsox-fmt-all lame vorbis-tools musepack-tools
  pulseaudio pulseaudio-utils
  fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

BUILD_TYPE="${BUILD_TYPE:-Release}"
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" ${CMAKE_EXTRA:-}
cmake --build "$BUILD_DIR" -j "$(nproc)"
