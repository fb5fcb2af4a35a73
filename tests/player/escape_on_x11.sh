#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# escape_on_x11.sh LUMETTA: plays a 1-second show with 1.7-second wipes on its own X server
# and presses Escape with a real X key event: the show must end within one slide change.
set -euo pipefail
lumetta=${1:?usage: escape_on_x11.sh LUMETTA}
work=$(mktemp -d)
trap 'kill "${player:-}" "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
for colour in red green blue; do convert -size 640x480 "xc:$colour" "$work/$colour.jpg"; done
printf '%s\r\n' 1 80 Random "No music" '$00000000_clWhite' Loop Color Tile No No \
  "$work/red.jpg" "$work/green.jpg" "$work/blue.jpg" '[TRANS]' 13 '[MUSIC]' > "$work/show.zut"

display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$lumetta" --play "$work/show.zut" &
player=$!
sleep 4  # a few slide changes, with the slide timer due again at the end of each
xdotool key Escape
for _ in $(seq 20); do  # 2 s: the wipe under way (1.7 s) and a margin
  if ! kill -0 "$player" 2>/dev/null; then
    wait "$player" && exit 0
    echo "the show ended with a failure status"; exit 1
  fi
  sleep 0.1
done
echo "the show did not end on Escape"
exit 1
