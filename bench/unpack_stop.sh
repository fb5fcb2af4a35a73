#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How soon a built show of many pictures ends and removes its unpacked folder after SIGTERM (as
# a screen saver host ends its saver): once while it unpacks, once while it plays.
# The pictures are links to one small JPEG, each under a name of its own, as in a real show.
# Usage: bench/unpack_stop.sh [BUILD_DIR] [PICTURES]   (defaults: build, 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
pictures=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
convert -size 8x8 xc:red "$work/p.jpg"
mkdir "$work/pictures"
python3 -c 'import os, sys
for i in range(int(sys.argv[2])):
    os.symlink("../p.jpg", "%s/pictures/p%06d.jpg" % (sys.argv[1], i))' "$work" "$pictures"
{
  printf '2\r\n80\r\nRandom\r\nNo music\r\nclBlack_clBlack\r\nCenter\r\nColor\r\nNoShadow\r\nNoCaption\r\nLoop\r\n'
  find "$work/pictures" -name '*.jpg' | sort | sed 's/$/\r/'
  printf '[TRANS]\r\n21\r\n[MUSIC]\r\n'
} > "$work/show.zut"
"$build/bin/lumetta" --build "$work/show.zut" "$work/show"

now() { date +%s%N; }
# Starts the show, waits until UNTIL succeeds, sends SIGTERM and prints how long the player took
# to end and whether its folder is gone.
stop_after() {
  local what=$1 until=$2
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen "$work/show" 2>/dev/null &
  local pid=$! start
  start=$(now)
  until eval "$until"; do sleep 0.1; done
  local unpacked
  unpacked=$(find "$work/tmp" -name '*.jpg' | wc -l)
  kill -TERM "$pid"
  local sent
  sent=$(now)
  wait "$pid" || true
  local left
  left=$(find "$work/tmp" -mindepth 1 | wc -l)
  echo "$what: SIGTERM $(( (sent - start) / 1000000 )) ms after the start, $unpacked pictures unpacked;" \
    "ended $(( ($(now) - sent) / 1000000 )) ms later, $left entries left"
  rm -rf "${work:?}/tmp/"*
}
stop_after "while unpacking" "[ \"\$(find '$work/tmp' -name '*.jpg' 2>/dev/null | head -n 2000 | wc -l)\" -ge 2000 ]"
last=$(printf 'p%06d.jpg' $((pictures - 1)))
stop_after "while playing" "[ -n \"\$(find '$work/tmp' -name $last 2>/dev/null)\" ] && sleep 2"
