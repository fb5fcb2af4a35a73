#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures of the demo show into data/demo/ with ImageMagick: made for Lumetta, so
# they carry no one else's licence. Run again after changing a slide; the build writes the
# project (data/demo/write_demo_show.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
out=data/demo
size=1600x1000
font=DejaVu-Sans
bold=DejaVu-Sans-Bold
mkdir -p "$out"

# A title over a background: slide NAME BACKGROUND-ARGS... -- TITLE SUBTITLE
slide() {
  local name=$1; shift
  local background=()
  while [ "$1" != -- ]; do background+=("$1"); shift; done
  shift
  convert -size "$size" "${background[@]}" \
    \( -size 1400x -background none -fill white -font "$bold" -pointsize 88 -gravity center \
       caption:"$1" \) -gravity north -geometry +0+330 -composite \
    \( -size 1400x -background none -fill '#f0f0f0' -font "$font" -pointsize 44 -gravity center \
       caption:"$2" \) -gravity north -geometry +0+520 -composite \
    -quality 88 -strip "$out/$name.jpg"
}

slide 01-welcome gradient:'#1d3b6e-#e8845a' -- \
  "Lumetta" "Slide shows from your pictures, with animated transitions and music"

# Sunset hills.
convert -size "$size" gradient:'#f7c873-#d9534f' \
  -fill '#ffe9a8' -draw 'circle 1100,430 1100,520' \
  -fill '#6b3d5c' -draw 'polygon 0,1000 0,640 300,520 620,700 900,560 1250,720 1600,600 1600,1000' \
  -fill '#3b2442' -draw 'polygon 0,1000 0,820 380,700 760,860 1120,760 1600,880 1600,1000' \
  -quality 88 -strip "$out/02-hills.jpg"

slide 03-transitions gradient:'#0f5e59-#7cc7a0' -- \
  "21 transitions" "Each change of picture is animated by an effect chosen at random from your selection"

# Coloured discs on a night sky.
convert -size "$size" gradient:'#0b1030-#28306e' \
  -fill '#e85d75a0' -draw 'circle 420,420 420,700' \
  -fill '#f2b134a0' -draw 'circle 800,560 800,860' \
  -fill '#3fb8afa0' -draw 'circle 1180,420 1180,700' \
  -fill '#ffffff' -draw 'circle 200,120 200,124' -draw 'circle 1450,180 1450,184' \
  -draw 'circle 900,90 900,93' -draw 'circle 1300,900 1300,903' \
  -quality 88 -strip "$out/04-circles.jpg"

slide 05-keys gradient:'#3a1c5c-#8e4585' -- \
  "During a show" "Enter or Right: next picture  ·  Left: previous  ·  Ctrl: pause  ·  F1: keys  ·  Esc: end"

slide 06-make-yours gradient:'#203a43-#2c5364' -- \
  "Make your own" "Add pictures from the folder panel, choose Options, then Play Now or build a self-running show"
