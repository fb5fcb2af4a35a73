#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up and Release build into build/ (the "release" preset); extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release "$@"
cmake --build --preset release --parallel "$(nproc)"
