#!/usr/bin/env bash
# Times ffmpeg's xfade filter per 1080p frame (fade, wipeleft, dissolve; one thread) as a peer of
# our blend, wipe and dissolve frames, and, when blend_bench is built, prints our blend and fuse
# figures and the ratios. Usage: bench/xfade_peer.sh [BUILD_DIR]
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

# Median of three runs, in seconds.
median_seconds() {
  for _ in 1 2 3; do cpu_seconds "$1"; done | sort -n | sed -n 2p
}

base=$(median_seconds "[1:v]nullsink;[0:v]null[out]")
echo "ffmpeg xfade at $size, gbrp, one thread, $frames transition frames (decode and output subtracted):"
declare -A per_frame
for t in fade wipeleft dissolve; do
  total=$(median_seconds "[0:v][1:v]xfade=transition=$t:duration=$seconds:offset=0[out]")
  per_frame[$t]=$(awk -v a="$total" -v b="$base" -v n="$frames" 'BEGIN { printf "%.3f", (a - b) * 1000 / n }')
  echo "  xfade $t: ${per_frame[$t]} ms per frame"
done

if [ -x "$build/bin/blend_bench" ]; then
  # Console lines: NAME WALL UNIT CPU UNIT ITERATIONS [COUNTERS] [LABEL]; CPU times in ms.
  results=$("$build/bin/blend_bench" \
    --benchmark_filter='BM_Memcpy|BM_BlendFrame/[0-9]+/32$|BM_BlendPass|BM_FusePass/1$' 2>/dev/null)
  cpu_ms() { awk -v name="$1" '$1 == name { print $4 }' <<<"$results"; }
  per_frame_ms() { awk -v name="$1" '$1 == name { sub(/.*cpu_ms_per_frame=/, ""); print $1 + 0 }' <<<"$results"; }
  fastest=$(awk '$1 ~ /^BM_BlendFrame\// { print $1 }' <<<"$results" | tail -1)
  memcpy=$(cpu_ms BM_Memcpy)
  blend=$(cpu_ms "$fastest")
  blend_pass=$(per_frame_ms BM_BlendPass)
  fuse_pass=$(per_frame_ms BM_FusePass/1)
  echo "ours at $size, 32 bits, CPU time:"
  echo "  memcpy of one frame: $memcpy ms"
  echo "  blend frame ($fastest): $blend ms = $(awk -v a="$blend" -v b="$memcpy" 'BEGIN { printf "%.2f", a / b }') x memcpy"
  echo "  blend pass, per frame with its flush: $blend_pass ms"
  echo "  fuse style 1 pass, per frame with its flush: $fuse_pass ms"
  awk -v x="${per_frame[fade]}" -v o="$blend" 'BEGIN { printf "  xfade fade / our blend frame: %.1f\n", x / o }'
  awk -v x="${per_frame[fade]}" -v o="$blend_pass" 'BEGIN { printf "  xfade fade / our blend pass frame: %.1f\n", x / o }'
  awk -v x="${per_frame[dissolve]}" -v o="$fuse_pass" 'BEGIN { printf "  xfade dissolve / our fuse pass frame: %.1f\n", x / o }'
fi
