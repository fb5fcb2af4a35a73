#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the sample picture of the transition selection dialog's preview (a dusk landscape)
# into src/dialogs/effect_sample.jpg. Run once; the picture is kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 320x240 gradient:'#2b5fa8'-'#f6c27a' \
  \( -size 320x240 xc:none -fill '#fff4c8' -draw "circle 215,150 215,122" -blur 0x3 \) -composite \
  \( -size 320x240 xc:none -fill '#5b6f8e' \
     -draw "polygon 0,190 40,150 90,175 140,120 190,165 240,135 320,180 320,240 0,240" \) -composite \
  \( -size 320x240 xc:none -fill '#2f4a3a' \
     -draw "polygon 0,215 60,185 120,205 180,180 250,200 320,190 320,240 0,240" \) -composite \
  \( -size 320x240 xc:none -fill '#1d3326' \
     -draw "polygon 0,240 0,228 80,212 160,226 240,214 320,222 320,240" \) -composite \
  -quality 88 src/dialogs/effect_sample.jpg
