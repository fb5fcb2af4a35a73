#!/usr/bin/env bash
# Set-up, build and start Lumetta.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec build/bin/lumetta "$@"
