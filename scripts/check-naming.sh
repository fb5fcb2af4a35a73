#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the naming rule (README, "Naming"; .clang-tidy): clang-tidy's readability-identifier-naming
# over every project source file in BUILD/compile_commands.json (default build/), as many files at
# once as there are CPUs. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath "${1:-build}")

folders=()
for dir in src/*/ tests/*/; do
  folders+=("${dir%/}")
done
pattern="^$root/(($(IFS='|'; echo "${folders[*]}"))/|tests/[^/]+$)"

messages=$(mktemp)
trap 'rm -f "$messages"' EXIT
status=0
grep -o '"file": *"[^"]*"' "$build/compile_commands.json" | sed 's/^"file": *"//; s/"$//' |
  grep -E "$pattern" | sort -u |
  xargs -P "$(nproc)" -n 1 clang-tidy --quiet -p "$build" --header-filter="$pattern" 2>"$messages" || status=$?
grep -v 'warnings\? \(and [0-9]* errors\? \)\?generated\.$' "$messages" >&2 || true
exit $status
