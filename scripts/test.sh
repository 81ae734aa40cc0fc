#!/usr/bin/env bash
# Installs what is missing (only then does it need apt, the network and root), builds everything
# (Release, folder build/) and runs the whole test suite. Exits non-zero on any failure. Tests
# that open windows run under a virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt"
# The folder keeps its own LUMENFOLD_WERROR: off unless it was configured with -DLUMENFOLD_WERROR=ON
# (as .ci/run does before calling this script).
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_TESTS=ON
cmake --build "$top/build"
xvfb-run -a ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
