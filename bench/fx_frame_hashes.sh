#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints a checksum of every frame file lumetta-fx renders for every catalogue entry, at 320x200 and
# 1920x1080, in every pixel depth the engine supports, at several frame numbers. Two builds whose
# outputs differ in any byte print different lists:
#   bench/fx_frame_hashes.sh build/bin/lumetta-fx > before.txt   (at one commit)
#   bench/fx_frame_hashes.sh build/bin/lumetta-fx > after.txt    (at another)
#   diff before.txt after.txt
set -euo pipefail
fx=$(realpath "${1:-build/bin/lumetta-fx}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# Two pictures with no flat areas, drawn the same way on every run. ImageMagick stamps a PNG
# with the time it was written, and lumetta-fx keeps the new picture's text in final.png, so the
# stamps are left out: otherwise final.png would differ from run to run.
picture() {
  convert -size "$2" gradient:"$3" -swirl 170 -depth 8 -define png:exclude-chunks=date,time "PNG24:$work/$1"
}

frames=1,2,3,7,16,40,100,333,640,1000,1500,3001
for size in 320x200 1920x1080; do
  picture old-$size.png $size 'red-navy'
  picture new-$size.png $size 'gold-teal'
  for bpp in 8 15 16 24 32; do
    for effect in $(seq 0 21); do
      out=$work/$size-$bpp-$effect
      mkdir -p "$out"
      # The whole output is read before its first line is taken: a pipe closed early would end
      # the tool before it writes its last picture.
      first=$("$fx" render --from "$work/old-$size.png" --to "$work/new-$size.png" --effect "$effect" \
        --bpp "$bpp" --seed 7 --frames $frames --out "$out")
      first=${first%%$'\n'*}
      (cd "$out" && for f in *.png; do
        echo "$size $bpp $effect $first $f $(sha256sum <"$f" | cut -c1-16)"
      done)
      rm -rf "$out"
    done
  done
done
