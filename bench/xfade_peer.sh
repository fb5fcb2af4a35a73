#!/usr/bin/env bash
# Times ffmpeg's xfade filter per 1080p frame (fade, wipeleft, dissolve; one thread) as a peer of
# our blend, wipe and dissolve frames, and prints the ratios to our blend frame when the blend
# benchmark is built. Usage: bench/xfade_peer.sh [BUILD_DIR]
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
  ours=$("$build/bin/blend_bench" --benchmark_filter='BM_BlendFrame/[0-9]+/32$' --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median/ { last = $4 } END { print last }')
  echo "our blend frame (fastest kernel, level 32, 32 bits): $ours ms"
  for t in fade dissolve; do
    awk -v x="${per_frame[$t]}" -v o="$ours" -v t="$t" 'BEGIN { printf "  xfade %s / our blend frame: %.1f\n", t, x / o }'
  done
fi
