#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times a whole unpaced pass of every catalogue effect at 1920x1080, 32 bits, with lumetta-fx
# (median of the repeats), one line per entry beside a memcpy of one frame.
# Usage: bench/catalogue_bench.sh [BUILD_DIR] [REPEATS]
set -euo pipefail
build=${1:-build}
repeats=${2:-3}
fx="$build/bin/lumetta-fx"
[ -x "$fx" ] || { echo "build lumetta-fx first ($fx)" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
printf 'no.\tname\tframes\tpass_ms\tframe_ms\tmemcpy_ms\n'
"$fx" list | while IFS=$'\t' read -r number _ _ name _; do
  read -r _ frames _ pass _ frame _ copy < <("$fx" bench --effect "$number" --repeat "$repeats" 2>/dev/null)
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$number" "$name" "$frames" "$pass" "$frame" "$copy"
done
