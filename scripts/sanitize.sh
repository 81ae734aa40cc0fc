#!/usr/bin/env bash
# Builds the tests with clang-14 under AddressSanitizer and UndefinedBehaviorSanitizer in their
# own build folder and runs them. Any sanitizer report fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-asan"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DLUMENFOLD_SANITIZE=address,undefined -DLUMENFOLD_BUILD_APP=OFF -DLUMENFOLD_BUILD_TESTS=ON
cmake --build "$build" --target lumenfold_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
xvfb-run -a "$build/tests/lumenfold_tests"
