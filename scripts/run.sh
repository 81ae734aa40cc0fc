#!/usr/bin/env bash
# Installs what is missing (only then does it need apt, the network and root), builds lumenfold
# (Release, folder build/) and starts build/app/lumenfold.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_TESTS=OFF
cmake --build "$top/build" --target lumenfold
exec "$top/build/app/lumenfold"
