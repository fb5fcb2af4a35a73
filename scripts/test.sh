#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up, build with the test suite and benchmarks, and run the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DLUMETTA_TESTS=ON
ctest --preset release --parallel "$(nproc)"
