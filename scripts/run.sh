#!/usr/bin/env bash
# Installs what is missing (only then does it need apt, the network and root), builds lumenfold
# (Release, folder build/) and starts build/app/lumenfold. Without a display it says so and fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/ensure-packages.sh" "$top/scripts/packages.txt"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENFOLD_BUILD_TESTS=OFF
cmake --build "$top/build" --target lumenfold
# The program opens a window: without an X display to open it on, it would wait for ever.
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: lumenfold needs a display, and DISPLAY is not set (start it in a desktop" \
    "session, or on a virtual display: xvfb-run -a build/app/lumenfold)" >&2
  exit 1
fi
if ! python3 -c 'import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
sys.exit(0 if x11.XOpenDisplay(None) else 1)' 2> /dev/null; then
  echo "run.sh: lumenfold needs a display, and the display $DISPLAY cannot be opened" >&2
  exit 1
fi
exec "$top/build/app/lumenfold"
