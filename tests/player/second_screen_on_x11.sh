#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# second_screen_on_x11.sh LUMETTA: an X server with two screens; "--play --screen 1" must fill the
# second one with the show and leave the first alone.
set -euo pipefail
lumetta=${1:?usage: second_screen_on_x11.sh LUMETTA}
work=$(mktemp -d)
trap 'kill "${player:-}" "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
convert -size 640x480 xc:red "$work/red.jpg"
printf '%s\r\n' 60 100 "No effect" "No music" '$00000000_clWhite' Loop Color Tile No No \
  "$work/red.jpg" '[TRANS]' 13 '[MUSIC]' > "$work/show.zut"

source "$(dirname "$0")/../support/x_server.sh"
start_x_server -screen 0 800x600x24 -screen 1 640x480x24
display=$DISPLAY
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config
"$lumetta" --play --screen 1 "$work/show.zut" &
player=$!
# "red" or "other" for the pixel X,Y of screen N (the JPEG's red is within a few steps of pure).
colour() { import -display "$display.$1" -window root "$work/screen$1.png" &&
           convert "$work/screen$1.png" -format "%[fx:p{$2,$3}.r>0.94&&p{$2,$3}.g<0.06&&p{$2,$3}.b<0.06?1:0]" info: |
           sed 's/^1$/red/; s/^0$/other/'; }
for _ in $(seq 50); do
  [ "$(colour 1 320 240)" = red ] && break
  sleep 0.2
done
second=$(colour 1 320 240)
first=$(colour 0 400 300)
kill "$player"
[ "$second" = red ] || { echo "the second screen does not show the red slide"; exit 1; }
[ "$first" = other ] || { echo "the first screen shows the slide as well"; exit 1; }
