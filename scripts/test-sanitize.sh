#!/usr/bin/env bash
# Builds the test suite with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs it. Only findings inside the system's own libraries are suppressed: leaks in
# scripts/lsan.supp, interceptor reports in scripts/asan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMETTA_SANITIZE=ON -DLUMETTA_BENCH=OFF
cmake --build build-asan --parallel "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$PWD/scripts/asan.supp
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
