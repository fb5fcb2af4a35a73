#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up, build and start Lumetta.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec build/bin/lumetta "$@"
