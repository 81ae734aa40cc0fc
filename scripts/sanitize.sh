#!/usr/bin/env bash
# Builds the tests with clang-14 under AddressSanitizer and UndefinedBehaviorSanitizer (folder
# build-asan, shared with the fuzz targets) and runs them. Any sanitizer report fails the run.
# With LUMENFOLD_ASAN_BUILT=1 (set by .ci/run, which builds build-asan once beforehand) it only
# runs what was built.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-asan"
tests="$build/tests/lumenfold_tests"
if [ "${LUMENFOLD_ASAN_BUILT:-0}" = 1 ]; then
  [ -x "$tests" ] || { echo "LUMENFOLD_ASAN_BUILT=1, but $tests was not built" >&2; exit 1; }
else
  "$top/scripts/configure-asan.sh"
  cmake --build "$build" --target lumenfold_tests
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# llvm-14 puts llvm-symbolizer on the PATH under a versioned name only.
if [ -z "${ASAN_SYMBOLIZER_PATH:-}" ] && [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi
xvfb-run -a "$tests"
