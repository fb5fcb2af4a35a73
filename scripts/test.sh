#!/usr/bin/env bash
# Set-up, build and run the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
