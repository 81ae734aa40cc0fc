#!/usr/bin/env bash
# Configures the one clang-14 build folder shared by the sanitizer tests and the fuzz targets:
# AddressSanitizer and UndefinedBehaviorSanitizer everywhere, libFuzzer coverage in the core
# library. Sharing it compiles the JUCE modules once for both.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DLUMENFOLD_SANITIZE=address,undefined -DLUMENFOLD_BUILD_FUZZ=ON \
  -DLUMENFOLD_BUILD_APP=OFF -DLUMENFOLD_BUILD_TESTS=ON >/dev/null
