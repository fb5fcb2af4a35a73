#!/usr/bin/env bash
# Times ffmpeg's xfade radial and circleopen per 1080p frame (one thread) as peers of our masked
# effects, and prints the ratios to our per-frame cost from `lumetta-fx bench` (unpaced pass,
# 1920x1080, 32 bits) when the tool is built. Usage: bench/xfade_masked_peer.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
frames=100
seconds=4
size=1920x1080

# CPU seconds (user + system) of one ffmpeg run with the given filter graph.
cpu_seconds() {
  ffmpeg -hide_banner -nostats -benchmark -filter_threads 1 -filter_complex_threads 1 \
    -f lavfi -i "color=c=gray:s=$size:r=25:d=$seconds,format=gbrp" \
    -f lavfi -i "color=c=red:s=$size:r=25:d=$seconds,format=gbrp" \
    -filter_complex "$1" -map "[out]" -f null - 2>&1 |
    sed -n 's/.*utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' | awk '{print $1 + $2}'
}

median_seconds() {
  for _ in 1 2 3; do cpu_seconds "$1"; done | sort -n | sed -n 2p
}

base=$(median_seconds "[1:v]nullsink;[0:v]null[out]")
echo "ffmpeg xfade at $size, gbrp, one thread, $frames transition frames (decode and output subtracted):"
declare -A per_frame
for t in radial circleopen; do
  total=$(median_seconds "[0:v][1:v]xfade=transition=$t:duration=$seconds:offset=0[out]")
  per_frame[$t]=$(awk -v a="$total" -v b="$base" -v n="$frames" 'BEGIN { printf "%.3f", (a - b) * 1000 / n }')
  echo "  xfade $t: ${per_frame[$t]} ms per frame"
done

fx="$build/bin/lumetta-fx"
[ -x "$fx" ] || exit 0
# Our frame cost: frame_ms of an unpaced pass at the same size.
ours() {
  QT_QPA_PLATFORM=offscreen "$fx" bench "$@" --size "$size" --repeat 3 2>/dev/null |
    awk '{ for (i = 1; i < NF; ++i) if ($i == "frame_ms") print $(i + 1) }'
}
compare() {  # peer, label, lumetta-fx arguments...
  local peer=$1 label=$2
  shift 2
  local mine
  mine=$(ours "$@")
  [ -n "$mine" ] || { echo "  $label: not available"; return; }
  awk -v x="${per_frame[$peer]}" -v o="$mine" -v l="$label" -v p="$peer" \
    'BEGIN { printf "  %s: %s ms per frame; xfade %s / ours: %.1f\n", l, o, p, x / o }'
}
echo "ours (lumetta-fx bench, 32 bits):"
compare radial "radial style 1 (one hand)" --class TRadialTransition --set Style=1 --set SubStyle=1
compare radial "radial style 3 (four hands)" --class TRadialTransition --set Style=3 --set SubStyle=1
compare radial "radial style 6 (corner hand)" --class TRadialTransition --set Style=6 --set SubStyle=1
compare circleopen "circle style 1 (growing disc)" --class TCircleTransition --set Style=1 --set SubStyle=1
