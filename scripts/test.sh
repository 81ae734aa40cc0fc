#!/usr/bin/env bash
# Installs what is missing (only then does it need apt, the network and root), builds everything
# (Release, folder build/) and runs the whole test suite. Exits non-zero on any failure. Tests
# that open windows run under a virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt"
# .ci/run sets LUMENFOLD_CI_WERROR=1 to make warnings errors; otherwise the folder keeps its own
# setting (off unless configured with -DLUMENFOLD_WERROR=ON).
werror=()
[ "${LUMENFOLD_CI_WERROR:-0}" != 1 ] || werror=(-DLUMENFOLD_WERROR=ON)
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_TESTS=ON \
  "${werror[@]}"
cmake --build "$top/build"
xvfb-run -a ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)"
