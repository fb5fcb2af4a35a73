#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/fuzz.sh TARGET SECONDS: builds the libFuzzer target TARGET with clang and runs it for
# SECONDS on its corpus (seeded by scripts/make-fuzz-corpus.sh). Crashes land in fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS}
scripts/setup.sh --fuzz
cmake --preset fuzz
cmake --build --preset fuzz --target "fuzz_${target}"
corpus=build-fuzz/corpus/${target}
[ -d "$corpus" ] || scripts/make-fuzz-corpus.sh build-fuzz/corpus
mkdir -p "$corpus" fuzz/crashes
# Inputs no longer than a real case needs keep every target near ten thousand runs a second.
case $target in
  color_text) max_len=64 ;;
  list_files | form | tiff) max_len=1024 ;;
  form_values | fx_set) max_len=512 ;;
  *) max_len=4096 ;;
esac
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
# Allocation stacks cost the effect and TIFF targets a third of their speed; rerun a crashing input
# without this setting for the full report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}
# libtiff and Qt print a warning per damaged input; libFuzzer keeps its own output and the reports.
exec build-fuzz/bin/fuzz_${target} -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -close_fd_mask=2 \
  -max_len="$max_len" -print_final_stats=1 -artifact_prefix=fuzz/crashes/${target}- "$corpus"
