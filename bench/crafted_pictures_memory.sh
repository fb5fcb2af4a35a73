#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak memory of the player, the preview pane and the folder panel on small files that claim
# huge pictures (16384 x 16384): each slide and preview alone in its own process, then all the
# slides one after another as a show shows them, then a folder of ten crafted files.
#   bench/crafted_pictures_memory.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
tool="$build/bin/picture_memory_tool"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

mkdir -p "$work/one" "$work/folder"
python3 "$here/make_crafted_pictures.py" "$work/one" > /dev/null
ls -l "$work/one" | awk 'NR > 1 { print $5, $9 }'
for i in 0 1; do
  for file in "$work"/one/*; do
    cp "$file" "$work/folder/$i-$(basename "$file")"
  done
done
cp "$work/one/deep16.png" "$work/folder/2-deep16.png"
cp "$work/one/screen.gif" "$work/folder/2-screen.gif"

for file in "$work"/one/*; do
  "$tool" slide "$file"
  "$tool" preview "$file"
done
"$tool" slide "$work"/one/*
"$tool" thumbnails "$work/folder"
