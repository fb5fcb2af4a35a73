#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times whole processes decoding the same 12-megapixel HEIC: the picture loader (decoded to RGB
# pixels) beside libheif's heif-convert writing raw Y4M frames (no colour conversion, a plain
# write) into a memory-backed folder.
# Usage: bench/heif_vs_heif_convert.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v hyperfine >/dev/null && command -v heif-convert >/dev/null && command -v heif-enc >/dev/null || scripts/setup.sh
cmake --build "$build" -j2 --target picture_decode_tool
tool="$build/bin/picture_decode_tool"
sample="$build/sample-12mp.heic"
if [ ! -f "$sample" ]; then
  "$tool" make "$build/sample-12mp.jpg" 4000 3000
  heif-enc -q 85 -o "$sample" "$build/sample-12mp.jpg" >/dev/null
fi
out=$(mktemp -d /dev/shm/heif-bench.XXXXXX)
trap 'rm -rf "$out"' EXIT

hyperfine -N --warmup 2 --runs 15 \
  -n "loader" "$tool decode $sample" \
  -n "heif-convert to y4m" "heif-convert $sample $out/frame.y4m"
