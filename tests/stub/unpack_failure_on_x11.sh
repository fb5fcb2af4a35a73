#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# unpack_failure_on_x11.sh LUMETTA: a built show whose unpacking fails half-way (files may not
# grow past a few KiB) shows its error on a real X server; while the message is on the screen,
# the partial show must already be gone from the temporary folder.
set -euo pipefail
lumetta=${1:?usage: unpack_failure_on_x11.sh LUMETTA}
work=$(mktemp -d)
trap 'kill "${player:-}" "${server:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
convert -size 300x300 plasma:fractal "$work/noise.jpg"
mkdir "$work/tmp"
printf '%s\r\n' 1 80 "No effect" "No music" '$00000000_clWhite' No Color Tile No No \
  "$work/noise.jpg" '[TRANS]' 0 '[MUSIC]' > "$work/show.zut"
"$lumetta" --build "$work/show.zut" "$work/show.exe"

source "$(dirname "$0")/../support/x_server.sh"
start_x_server -screen 0 1024x768x24
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
# An ignored SIGXFSZ makes a write past the limit fail instead of ending the program.
sh -c 'trap "" XFSZ; ulimit -f 4; exec "$0"' "$work/show.exe" &
player=$!
if ! box=$(timeout 30 xdotool search --sync --name '^Lumetta XP$' | head -1); then
  echo "no message box appeared"; exit 1
fi
left=$(find "$work/tmp" -mindepth 1 | head -5)
if [ -n "$left" ]; then
  echo "the partial show was still there while the message showed:"; echo "$left"; exit 1
fi
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
status=0
wait "$player" || status=$?
if [ "$status" -ne 1 ]; then
  echo "the player ended with status $status, not 1"; exit 1
fi
