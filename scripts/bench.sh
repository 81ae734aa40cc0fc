#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in Release (folder build-bench) and runs them.
# Arguments go to the benchmark program, e.g. --benchmark_filter=warmTrigger.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-bench"
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt" "$top/scripts/packages-bench.txt"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_BENCH=ON \
  -DLUMENFOLD_BUILD_TESTS=OFF -DLUMENFOLD_BUILD_APP=OFF
cmake --build "$build" --target lumenfold_bench
"$build/bench/lumenfold_bench" "$@"
