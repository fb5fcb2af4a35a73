#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package lumetta_VERSION-1_ARCH.deb into build-deb/ (a Release build without
# tests, installed under /usr); its library dependencies come from dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DLUMETTA_TESTS=OFF
cmake --build build-deb --parallel "$(nproc)"
(cd build-deb && cpack -G DEB)
ls build-deb/lumetta_*.deb
