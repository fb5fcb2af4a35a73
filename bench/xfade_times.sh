# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the xfade peer scripts. xfade_times TRANSITION... times ffmpeg's xfade per 1080p
# frame (gbrp, one thread, decode and output subtracted), prints each figure and keeps it in
# per_frame[TRANSITION] in milliseconds; size holds the frame size.
frames=100
seconds=4
size=1920x1080
declare -A per_frame

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

xfade_times() {
  local base total t
  base=$(median_seconds "[1:v]nullsink;[0:v]null[out]")
  echo "ffmpeg xfade at $size, gbrp, one thread, $frames transition frames (decode and output subtracted):"
  for t in "$@"; do
    total=$(median_seconds "[0:v][1:v]xfade=transition=$t:duration=$seconds:offset=0[out]")
    per_frame[$t]=$(awk -v a="$total" -v b="$base" -v n="$frames" 'BEGIN { printf "%.3f", (a - b) * 1000 / n }')
    echo "  xfade $t: ${per_frame[$t]} ms per frame"
  done
}
