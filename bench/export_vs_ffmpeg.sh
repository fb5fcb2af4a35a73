#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times `lumetta --export` of a generated 10-slide 1080p30 show (3-second slides, 1.7-second
# effects, one WAV track) beside the same video made by the ffmpeg program with xfade transitions
# and the same codec settings (x264 preset fast, CRF 21, AAC 192 kb/s, MP4 with the index first),
# in two forms: the usual command (each picture an endless input, decoded and scaled again for
# every frame) and a tuned one (each picture decoded and scaled once, the one frame repeated,
# then fps=30). The three run one after another in each of REPEAT rounds (default 3), so a busy
# machine weighs on all alike; the best wall and CPU (user + system) times and their ratios are
# printed, and the SSIM of our video against our lossless export.
# Usage: bench/export_vs_ffmpeg.sh [BUILD_DIR] [REPEAT]
set -euo pipefail
build=$(realpath "${1:-build}")
repeat=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

slides=10
for i in $(seq 0 $((slides - 1))); do
  ffmpeg -v error -f lavfi -i "mandelbrot=s=1920x1080:start_scale=$((2 + i)):end_pts=1" -frames:v 1 -q:v 3 "p$i.jpg"
done
ffmpeg -v error -f lavfi -i "sine=frequency=330:duration=40" -ac 2 -ar 44100 track.wav

{
  printf '3\r\n100\r\nRandom\r\nNoRepeat\r\n$00000000_$00000000\r\nNo\r\nColor\r\nTile\r\nNo\r\nNo\r\n'
  for i in $(seq 0 $((slides - 1))); do printf '%s/p%d.jpg\r\n' "$work" "$i"; done
  printf '[TRANS]\r\n'
  for e in 2 3 4 5 6 7 8 9 10 11; do printf '%d\r\n' "$e"; done
  printf '[MUSIC]\r\n%s/track.wav\r\n' "$work"
} > show.zut

seconds() { date +%s.%N; }
best() { sort -g | head -1; }

ours() {
  QT_QPA_PLATFORM=offscreen "$build/bin/lumetta" --export show.zut ours.mp4 --size 1920x1080 --fps 30 --seed 1 \
    --quality good --force 2>/dev/null
}

# One xfade export of the show into OUTPUT. The usual peer (MODE "usual") loops each picture at
# 30 fps from the input, so it decodes and scales every frame; the tuned one (MODE "tuned") decodes
# and scales each picture once, loops that frame, then sets the frame rate.
xfade_export() {
  local mode=$1 output=$2 inputs=() chain="" last="[v0]" offset
  for i in $(seq 0 $((slides - 1))); do
    # Every slide but the last stays on while the next one comes in.
    local length=4.7
    [ "$i" -eq $((slides - 1)) ] && length=3
    if [ "$mode" = usual ]; then
      inputs+=(-loop 1 -framerate 30 -t "$length" -i "p$i.jpg")
      chain+="[$i:v]scale=1920:1080,setsar=1,format=yuv420p[v$i];"
    else
      inputs+=(-i "p$i.jpg")
      chain+="[$i:v]scale=1920:1080,setsar=1,format=yuv420p,loop=loop=-1:size=1:start=0,setpts=N/(30*TB),fps=30,"
      chain+="trim=duration=$length[v$i];"
    fi
  done
  for i in $(seq 1 $((slides - 1))); do
    offset=$((3 * i))
    local out="[x$i]"
    [ "$i" -eq $((slides - 1)) ] && out="[video]"
    chain+="$last[v$i]xfade=transition=circleopen:duration=1.7:offset=$offset$out;"
    last="[x$i]"
  done
  chain+="[$slides:a]atrim=0:30,afade=t=out:st=29:d=1,aresample=48000[audio]"
  ffmpeg -v error -y "${inputs[@]}" -i track.wav -filter_complex "$chain" -map "[video]" -map "[audio]" \
    -c:v libx264 -preset fast -crf 21 -profile:v high -pix_fmt yuv420p -g 150 -colorspace bt709 \
    -color_primaries bt709 -color_trc bt709 -c:a aac -b:a 192k -ar 48000 -ac 2 -movflags +faststart "$output"
}

peer() { xfade_export usual peer.mp4; }
tuned() { xfade_export tuned tuned.mp4; }

# "WALL CPU" in seconds for one run of the command.
measure() {
  local TIMEFORMAT='%R %U %S' line
  line=$({ time "$@" >/dev/null 2>&1; } 2>&1)
  awk '{ print $1, $2 + $3 }' <<<"$line"
}

: >times.txt
for round in $(seq "$repeat"); do
  for who in ours peer tuned; do
    echo "$who $(measure "$who")" >>times.txt
  done
done
best() { awk -v who="$1" -v col="$2" '$1 == who && (min == "" || $col < min) { min = $col } END { print min }' times.txt; }
frames() { ffprobe -v error -count_packets -select_streams v -show_entries stream=nb_read_packets -of csv=p=0 "$1"; }
echo "10 slides of 3 s, 1.7 s effects, one WAV track, 1920x1080 at 30 fps, x264 fast CRF 21 + AAC, $(nproc) cores," \
  "best of $repeat interleaved rounds"
for who in ours peer tuned; do
  file=$who.mp4
  printf '%-6s wall %6.2f s  cpu %6.2f s  (%s frames)\n' "$who" "$(best "$who" 2)" "$(best "$who" 3)" "$(frames "$file")"
done
# Quality: our video against our lossless export of the same show, frame time for frame time
# (fps=30 expands the still stretches stored as few frames).
QT_QPA_PLATFORM=offscreen "$build/bin/lumetta" --export show.zut lossless.mkv --size 1920x1080 --fps 30 --seed 1 \
  --quality lossless --force 2>/dev/null
ssim=$(ffmpeg -v info -i ours.mp4 -i lossless.mkv -lavfi "[0:v]fps=30[a];[1:v]fps=30[b];[a][b]ssim" -f null - 2>&1 |
  sed -n 's/.*SSIM .*All:\([0-9.]*\).*/\1/p')
echo "ours against our lossless export: SSIM $ssim"
for who in peer tuned; do
  awk -v name="$who" -v ow="$(best ours 2)" -v oc="$(best ours 3)" -v pw="$(best "$who" 2)" -v pc="$(best "$who" 3)" \
    'BEGIN { printf "ours / %-5s wall %.2f  cpu %.2f\n", name, ow / pw, oc / pc }'
done
