#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package Lumetta needs to build, test and run; with --fuzz also clang
# and its libFuzzer runtime. Idempotent.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-tidy
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev
  qt6-multimedia-dev qt6-svg-dev gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-plugins-base
  libjpeg62-turbo-dev libjpeg-turbo-progs libgif-dev
  libexif-dev libheif-dev libheif-examples qt6-image-formats-plugins zlib1g-dev
  gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly timgm6mb-soundfont
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-apps x11-utils
  fonts-dejavu-core libgl-dev libxkbcommon-dev dbus-daemon libx11-dev libxss-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev
  ffmpeg hyperfine
  emscripten node-acorn chromium chromium-headless-shell
  librsvg2-bin desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
)
[ "${1:-}" = --fuzz ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
