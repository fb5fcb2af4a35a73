#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the test suite with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# (the "asan" preset) and runs it. Only findings inside the system's own libraries are
# suppressed: leaks in scripts/lsan.supp, interceptor reports in scripts/asan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset asan
cmake --build --preset asan --parallel "$(nproc)"
ctest --preset asan --parallel "$(nproc)"
