#!/usr/bin/env bash
# Installs what is missing, builds lumenfold (Release) and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_TESTS=OFF
cmake --build "$top/build" --target lumenfold
exec "$top/build/app/lumenfold"
