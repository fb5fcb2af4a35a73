#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times ffmpeg's xfade radial and circleopen per 1080p frame (one thread) as peers of our masked
# effects, and prints the ratios to our per-frame cost from `lumetta-fx bench` (unpaced pass,
# 1920x1080, 32 bits) when the tool is built. Usage: bench/xfade_masked_peer.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
source "$(dirname "$0")/xfade_times.sh"
xfade_times radial circleopen

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
