#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One table of what a user of the show notices, medians of ROUNDS rounds (at least 5) with min
# and max:
#   - every catalogue entry's unpaced pass at 1080p (32 bits) and its frame (pass / (frames - 1))
#     beside a memcpy of one frame, all in one process and interleaved round by round;
#   - how each pass grows from 720p to 4K (the exponent of the pixel count, from the medians),
#     beside how a memcpy of one frame grows;
#   - a pass of lumetta-fx bench at --repeat 1 and at --repeat 5 (frame buffers from the heap);
#   - the matching ffmpeg xfade filters per 1080p frame (CPU time of the graph minus the same
#     graph without xfade, one thread);
#   - the paced passes on Xvfb at 1920x1080: pass length, share of 60 Hz slots with a new frame,
#     CPU share of one core;
#   - the slide-step start to Execute with 24-megapixel JPEGs, each step after 1.2 s of the
#     previous slide;
#   - launch to the first transition of `--play`-like start-up, without and with music.
# Usage: bench/report.sh [BUILD_DIR] [ROUNDS] [START_RUNS]
# Needs catalogue_rounds, show_report and lumetta-fx built; ffmpeg and Xvfb for their parts.
set -euo pipefail
build=${1:-build}
rounds=${2:-5}
start_runs=${3:-14}
bin="$build/bin"
for tool in catalogue_rounds show_report lumetta-fx; do
  [ -x "$bin/$tool" ] || { echo "build $tool first ($bin/$tool)" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# stats: reads "KEY VALUE" lines, prints "KEY MEDIAN MIN MAX COUNT" per key in first-seen order.
stats() {
  awk '{ if (!($1 in n)) order[++keys] = $1; v[$1, ++n[$1]] = $2 }
    END {
      for (k = 1; k <= keys; ++k) {
        key = order[k]; m = n[key]
        for (i = 1; i <= m; ++i) a[i] = v[key, i]
        for (i = 2; i <= m; ++i) { x = a[i]; j = i - 1; while (j > 0 && a[j] > x) { a[j + 1] = a[j]; --j } a[j + 1] = x }
        med = (m % 2) ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
        print key, med, a[1], a[m], m
      }
    }'
}
row() { printf '%-44s %12s %12s %12s  %s\n' "$@"; }

names="$work/names"
QT_QPA_PLATFORM=offscreen "$bin/lumetta-fx" list 2>/dev/null | awk -F'\t' '{ print $1, $4 }' >"$names"
name_of() { awk -v e="$1" '$1 == e { $1 = ""; sub(/^ /, ""); print; exit }' "$names"; }

echo "# Lumetta report: $(date -u '+%Y-%m-%d %H:%M UTC'), $(git -C "$(dirname "$0")" rev-parse --short HEAD 2>/dev/null || echo '?'), $rounds rounds"
echo "# machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# --- unpaced passes ------------------------------------------------------------------------------
for size in 1920x1080 1280x720 3840x2160; do
  "$bin/catalogue_rounds" --size "$size" --rounds "$rounds" >"$work/passes-$size" 2>/dev/null
done
frames_of() { awk -v e="$2" '$1 == "pass" && $3 == e { print $4; exit }' "$work/passes-$1"; }
awk '$1 == "pass" { print $3, $5 }' "$work/passes-1920x1080" | stats >"$work/pass-stats"
awk '$1 == "memcpy" { print "memcpy", $3 }' "$work/passes-1920x1080" | stats >"$work/memcpy-stats"
read -r _ memcpy memcpy_min memcpy_max _ <"$work/memcpy-stats"
for size in 1280x720 3840x2160; do
  awk '$1 == "pass" { print $3, $5 }' "$work/passes-$size" | stats >"$work/pass-stats-$size"
done

echo "## Unpaced passes at 1920x1080, 32 bits (ms; median, min, max of $rounds rounds)"
row "memcpy of one frame" "$memcpy" "$memcpy_min" "$memcpy_max" ""
while read -r entry med min max _; do
  frames=$(frames_of 1920x1080 "$entry")
  per=$(awk -v p="$med" -v n="$frames" 'BEGIN { printf "%.4f", (n > 1 ? p / (n - 1) : p) }')
  note=$(awk -v p="$med" -v f="$per" -v c="$memcpy" -v n="$frames" \
    'BEGIN { printf "%d frames; frame %s ms = %.2fx memcpy; pass = %.1f memcpys", n, f, f / c, p / c }')
  row "$entry $(name_of "$entry") pass" "$med" "$min" "$max" "$note"
done <"$work/pass-stats"
echo

echo "## Growth of the unpaced pass from 1280x720 to 3840x2160 (exponent of the pixel count; memcpy's"
echo "## own for scale: a 720p frame fits the caches, a 4K one does not)"
memcpy_at() { awk '$1 == "memcpy" { print "memcpy", $3 }' "$work/passes-$1" | stats | awk '{ print $2 }'; }
memcpy_small=$(memcpy_at 1280x720)
memcpy_large=$(memcpy_at 3840x2160)
growth() { awk -v s="$1" -v l="$2" 'BEGIN { if (s > 0 && l > 0) printf "%.2f", log(l / s) / log(9); else print "-" }'; }
row "memcpy of one frame" "$(growth "$memcpy_small" "$memcpy_large")" "" "" \
  "720p $memcpy_small ms, 1080p $memcpy ms, 4K $memcpy_large ms"
while read -r entry med _; do
  small=$(awk -v e="$entry" '$1 == e { print $2 }' "$work/pass-stats-1280x720")
  large=$(awk -v e="$entry" '$1 == e { print $2 }' "$work/pass-stats-3840x2160")
  row "$entry $(name_of "$entry")" "$(growth "$small" "$large")" "" "" \
    "720p $small ms, 1080p $med ms, 4K $large ms"
done <"$work/pass-stats"
echo

# --- the heap's frame buffers ----------------------------------------------------------------------
echo "## lumetta-fx bench pass at --repeat 1 and --repeat 5 (ms)"
for ((r = 1; r <= rounds; ++r)); do
  for entry in 6 12; do
    for repeat in 1 5; do
      pass=$(QT_QPA_PLATFORM=offscreen "$bin/lumetta-fx" bench --effect "$entry" --repeat "$repeat" 2>/dev/null |
        awk '{ for (i = 1; i < NF; ++i) if ($i == "pass_ms") print $(i + 1) }')
      echo "$entry/$repeat $pass"
    done
  done
done | stats >"$work/repeat-stats"
while read -r key med min max _; do
  row "${key%/*} $(name_of "${key%/*}") at --repeat ${key#*/}" "$med" "$min" "$max" ""
done <"$work/repeat-stats"
echo

# --- ffmpeg xfade ------------------------------------------------------------------------------------
if command -v ffmpeg >/dev/null; then
  xfade_frames=100
  cpu_seconds() {
    ffmpeg -hide_banner -nostats -benchmark -filter_threads 1 -filter_complex_threads 1 \
      -f lavfi -i "color=c=gray:s=1920x1080:r=25:d=4,format=gbrp" \
      -f lavfi -i "color=c=red:s=1920x1080:r=25:d=4,format=gbrp" \
      -filter_complex "$1" -map "[out]" -f null - 2>&1 |
      sed -n 's/.*utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' | awk '{ print $1 + $2 }'
  }
  # entry numbers each filter stands beside
  declare -A peer=([fade]="0" [circleopen]="5" [radial]="6 7 8" [wipedown]="11" [wipeleft]="12"
    [wiperight]="13" [wipeup]="14" [wipebl]="15" [wipebr]="16" [wipetl]="17" [wipetr]="18")
  for ((r = 1; r <= rounds; ++r)); do
    base=$(cpu_seconds "[1:v]nullsink;[0:v]null[out]")
    for t in "${!peer[@]}"; do
      total=$(cpu_seconds "[0:v][1:v]xfade=transition=$t:duration=4:offset=0[out]")
      awk -v t="$t" -v a="$total" -v b="$base" -v n="$xfade_frames" 'BEGIN { printf "%s %.3f\n", t, (a - b) * 1000 / n }'
    done
  done | stats >"$work/xfade-stats"
  echo "## ffmpeg xfade per 1080p frame, gbrp, one thread (ms), beside our unpaced frame"
  while read -r t med min max _; do
    ours=""
    for entry in ${peer[$t]}; do
      frames=$(frames_of 1920x1080 "$entry")
      pass=$(awk -v e="$entry" '$1 == e { print $2 }' "$work/pass-stats")
      ours="$ours$(awk -v p="$pass" -v n="$frames" -v x="$med" -v e="$entry" \
        'BEGIN { f = n > 1 ? p / (n - 1) : p; printf "%s: %.1fx slower than ours; ", e, x / f }')"
    done
    row "xfade $t" "$med" "$min" "$max" "$ours"
  done <"$work/xfade-stats"
  echo
fi

# --- on a screen ----------------------------------------------------------------------------------
display=
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -noreset -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=$display
unset QT_QPA_PLATFORM

"$bin/show_report" paced "$rounds" >"$work/paced" 2>/dev/null
echo "## Paced passes on Xvfb 1920x1080 (median, min, max of $rounds rounds)"
row "entry" "pass ms" "60 Hz slots" "CPU share" "(each: median [min-max])"
for entry in $(awk '{ print $3 }' "$work/paced" | awk '!seen[$0]++'); do
  pass=$(awk -v e="$entry" '$3 == e { print "x", $4 }' "$work/paced" | stats | awk '{ printf "%s [%s-%s]", $2, $3, $4 }')
  cover=$(awk -v e="$entry" '$3 == e { print "x", $5 }' "$work/paced" | stats | awk '{ printf "%s [%s-%s]", $2, $3, $4 }')
  cpu=$(awk -v e="$entry" '$3 == e { print "x", $6 }' "$work/paced" | stats | awk '{ printf "%s [%s-%s]", $2, $3, $4 }')
  printf '%-24s %-26s %-26s %-26s\n' "$entry $(name_of "$entry")" "$pass" "$cover" "$cpu"
done
echo

"$bin/show_report" step "$((rounds * 2))" >"$work/step" 2>/dev/null
echo "## Slide step to Execute, 24-megapixel JPEGs, after 1.2 s of the previous slide (ms)"
awk '{ print "step", $3 }' "$work/step" | stats | while read -r _ med min max n; do
  row "step start to Execute ($n steps)" "$med" "$min" "$max" ""
done
echo

"$bin/show_report" files "$work/start" >/dev/null 2>&1
for ((r = 1; r <= start_runs; ++r)); do
  for show in silent music; do
    ms=$(LUMETTA_LAUNCH_NS=$(date +%s%N) "$bin/show_report" start "$work/start/$show.zut" 2>/dev/null | awk '{ print $2 }')
    echo "$show $ms"
  done
done | stats >"$work/start-stats"
echo "## Launch to the first transition, two 24-megapixel JPEGs ($start_runs runs each, ms)"
while read -r show med min max _; do
  row "$show" "$med" "$min" "$max" ""
done <"$work/start-stats"
awk '$1 == "silent" { s = $2 } $1 == "music" { m = $2 } END { if (s > 0) printf "music / silent: %.2f\n", m / s }' \
  "$work/start-stats"
