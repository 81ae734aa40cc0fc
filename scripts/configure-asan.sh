#!/usr/bin/env bash
# Installs what is missing and configures the one clang-14 build folder shared by the sanitizer
# tests and the fuzz targets (build-asan): AddressSanitizer and UndefinedBehaviorSanitizer
# everywhere, libFuzzer coverage in the core library. Sharing it compiles the JUCE modules once
# for both. .ci/run builds it once, then runs scripts/sanitize.sh and scripts/fuzz.sh with
# LUMENFOLD_ASAN_BUILT=1, which makes them use what was built; alone, each of them calls this
# script and builds its own targets.
#
#   scripts/configure-asan.sh [--werror]
#
# --werror makes warnings in lumenfold's code errors in the folder; without it the folder keeps
# its own setting (off when first configured).
set -euo pipefail
werror=()
case "${1:-}" in
  --werror) werror=(-DLUMENFOLD_WERROR=ON) ;;
  "") ;;
  *) echo "unknown option '$1' (only --werror)" >&2; exit 2 ;;
esac
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-asan"
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt" "$top/scripts/packages-clang.txt"
mkdir -p "$build"
log="$build/configure.log"
# -O1 and line tables only: what the sanitizers' reports need (file and line of each frame),
# built about a fifth faster than RelWithDebInfo's -O2 -g.
if ! cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
       -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
       -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
       -DLUMENFOLD_SANITIZE=address,undefined -DLUMENFOLD_BUILD_FUZZ=ON \
       -DLUMENFOLD_BUILD_APP=OFF -DLUMENFOLD_BUILD_TESTS=ON "${werror[@]}" > "$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "configuring $build failed (whole log: $log)" >&2
  exit 1
fi
