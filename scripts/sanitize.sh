#!/usr/bin/env bash
# Builds the tests with clang-14 under AddressSanitizer and UndefinedBehaviorSanitizer (folder
# build-asan, shared with the fuzz targets) and runs them. Any sanitizer report fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-asan"
"$top/scripts/configure-asan.sh"
cmake --build "$build" --target lumenfold_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
xvfb-run -a "$build/tests/lumenfold_tests"
