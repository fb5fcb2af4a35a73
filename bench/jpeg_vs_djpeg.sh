#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times whole processes decoding the same 24-megapixel JPEG: the picture loader beside
# libjpeg-turbo's djpeg, at full size and at one quarter of each side.
# Usage: bench/jpeg_vs_djpeg.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v hyperfine >/dev/null && command -v djpeg >/dev/null || scripts/setup.sh
cmake --build "$build" -j2 --target picture_decode_tool
tool="$build/bin/picture_decode_tool"
sample="$build/sample-24mp.jpg"
[ -f "$sample" ] || "$tool" make "$sample" 6000 4000

hyperfine -N --warmup 2 --runs 20 \
  -n "loader, full size" "$tool decode $sample" \
  -n "djpeg, full size" "djpeg -outfile /dev/null $sample"
hyperfine -N --warmup 2 --runs 20 \
  -n "loader, quarter size" "$tool decode $sample quarter" \
  -n "djpeg -scale 1/4" "djpeg -scale 1/4 -outfile /dev/null $sample"
