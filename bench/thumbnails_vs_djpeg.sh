#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Thumbnails of a folder of 200 generated 24-megapixel JPEGs: the editor's thumbnail loader beside
# djpeg -scale 1/8 of the same files (one at a time, and as many at once as the loader runs), and
# the longest time the GUI thread is busy while the folder panel fills in on a real X server.
# Usage: bench/thumbnails_vs_djpeg.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v djpeg >/dev/null && command -v xvfb-run >/dev/null || scripts/setup.sh
cmake --build "$build" -j2 --target thumbnail_bench
tool="$build/bin/thumbnail_bench"
folder="$build/thumbnail-bench"
[ -f "$folder/photo-0199.jpg" ] || "$tool" make "$folder" 200 6000 4000
threads=$(nproc)

cat "$folder"/*.jpg > /dev/null  # every run reads from the page cache
"$tool" loader "$folder"
start=$(date +%s%N)
for f in "$folder"/*.jpg; do djpeg -scale 1/8 -outfile /dev/null "$f"; done
echo "djpeg -scale 1/8, one at a time: $(( ($(date +%s%N) - start) / 1000000 )) ms"
start=$(date +%s%N)
printf '%s\0' "$folder"/*.jpg | xargs -0 -n 1 -P "$threads" djpeg -scale 1/8 -outfile /dev/null
echo "djpeg -scale 1/8, $threads at once: $(( ($(date +%s%N) - start) / 1000000 )) ms"
xvfb-run -a -s "-noreset -screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$tool" gui "$folder"
