#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times ffmpeg's xfade filter per 1080p frame (fade, wipeleft, dissolve; one thread) as a peer of
# our blend, wipe and dissolve frames, and, when blend_bench or wipe_drip_bench is built, prints
# our blend, fuse, wipe and drip figures and the ratios. Usage: bench/xfade_peer.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
source "$(dirname "$0")/xfade_times.sh"
xfade_times fade wipeleft dissolve

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

if [ -x "$build/bin/wipe_drip_bench" ]; then
  # Counters print as key=value, large values with a k suffix.
  wipe=$("$build/bin/wipe_drip_bench" --benchmark_filter='WipeRight/hard/0|WipeLeft/band50/0|DripLeft/0' 2>/dev/null)
  counter() {
    awk -v name="$1" -v key="$2" '$1 ~ "^" name "/" {
      for (i = 1; i <= NF; ++i) if (index($i, key "=") == 1) {
        v = substr($i, length(key) + 2); m = (v ~ /k$/) ? 1000 : 1; print (v + 0) * m } }' <<<"$wipe"
  }
  echo "our wipe and drip frames at $size, 32 bits, thread CPU time with the engine's flush:"
  for b in WipeRight/hard/0 WipeLeft/band50/0 DripLeft/0; do
    us=$(counter "$b" frame_us)
    awk -v b="$b" -v us="$us" -v x="${per_frame[wipeleft]}" \
      'BEGIN { printf "  %s: %.3f ms; xfade wipeleft / ours: %.1f\n", b, us / 1000, x / (us / 1000) }'
  done
fi
