#!/usr/bin/env bash
# Cross-builds lumenfold for Windows with Debian's MinGW-w64 compilers, Release:
#   win64  x86-64  build-win64/app/lumenfold.exe    build-win64/tests/lumenfold_tests.exe
#   win32  i386    build-win32/app/lumenfold32.exe  build-win32/tests/lumenfold_tests.exe
# Both are statically linked and import only Windows system DLLs.
#
# Usage: scripts/cross-build.sh [--werror] [win64] [win32]      (both when none is named)
#
# --werror makes warnings in lumenfold's code errors in the build folders; without it each folder
# keeps its own setting (off when first configured). The libraries built from Debian's sources
# never get it.
#
# First installs what is missing of scripts/packages-cross.txt (MinGW-w64, zlib for MinGW, Wine
# for scripts/cross-test.sh), enabling the i386 architecture and deb-src entries when needed, in
# one apt-get run and only when something is missing (LUMENFOLD_NO_INSTALL=1 skips it). libpng,
# libjpeg-turbo and kissfft have no MinGW packages in Debian: they are built as static libraries
# from Debian's source packages under build-cross/ (once; delete build-cross/ to build them
# again).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cross="$top/build-cross"
jobs=$(nproc)

targets=()
werror=()
for arg in "$@"; do
  case "$arg" in
    win64|win32) targets+=("$arg") ;;
    --werror) werror=(-DLUMENFOLD_WERROR=ON) ;;
    *) echo "unknown target '$arg' (win64 or win32, or --werror)" >&2; exit 2 ;;
  esac
done
[ "${#targets[@]}" -gt 0 ] || targets=(win64 win32)

toolchain_of() {
  case "$1" in
    win64) echo "$top/cmake/toolchains/mingw-w64-x86_64.cmake" ;;
    win32) echo "$top/cmake/toolchains/mingw-w64-i686.cmake" ;;
  esac
}

triple_of() {
  case "$1" in
    win64) echo x86_64-w64-mingw32 ;;
    win32) echo i686-w64-mingw32 ;;
  esac
}

# Unpacks a Debian source package into build-cross/src once and prints its folder. The security
# archive's pool may lack a source that its index lists: fall back to the release's own version.
fetch_source() {
  local package=$1 dir
  mkdir -p "$cross/src"
  dir=$(find "$cross/src" -mindepth 1 -maxdepth 1 -type d -name "$package-*" -print -quit)
  if [ -z "$dir" ] || [ ! -f "$dir/.lumenfold-unpacked" ]; then
    [ -z "$dir" ] || rm -rf "$dir"
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    (cd "$cross/src" && { apt-get source -q "$package" || apt-get source -q "$package/$codename"; }) \
      > "$cross/src/$package.log" 2>&1 || { cat "$cross/src/$package.log" >&2; return 1; }
    dir=$(find "$cross/src" -mindepth 1 -maxdepth 1 -type d -name "$package-*" -print -quit)
    touch "$dir/.lumenfold-unpacked"
  fi
  echo "$dir"
}

fetch_sources() {
  png_src=$(fetch_source libpng1.6)
  jpeg_src=$(fetch_source libjpeg-turbo)
  kissfft_src=$(fetch_source kissfft)
  if [ ! -f "$jpeg_src/.lumenfold-patched" ]; then
    (cd "$jpeg_src" && git apply -p1 "$top/cmake/patches/libjpeg-turbo-boolean-in-namespace.patch")
    touch "$jpeg_src/.lumenfold-patched"
  fi
}

# Configures, builds and installs one CMake project for a target into its prefix, quietly
# unless it fails.
build_dependency() {
  local target=$1 name=$2 src=$3; shift 3
  local work="$cross/$target/$name" prefix="$cross/$target/prefix"
  if ! { cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
           -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$target")" \
           -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
         cmake --build "$work" -j "$jobs" && cmake --install "$work"; } > "$work.log" 2>&1; then
    cat "$work.log" >&2
    echo "building $name for $target failed" >&2
    return 1
  fi
}

# Built again whenever this script or the patches change.
build_dependencies() {
  local target=$1 prefix="$cross/$target/prefix" stamp
  stamp=$(cat "$0" "$top"/cmake/patches/*.patch "$(toolchain_of "$target")" | md5sum)
  [ "$(cat "$prefix/.lumenfold-complete" 2>/dev/null)" = "$stamp" ] && return 0
  rm -rf "${cross:?}/$target"
  mkdir -p "$cross/$target"
  build_dependency "$target" libpng "$png_src" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_USE_STATIC_LIBS=ON
  build_dependency "$target" libjpeg-turbo "$jpeg_src" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
  # JUCE includes jpeglib.h with JPEG_INTERNALS defined, which needs jpegint.h beside it.
  cp "$jpeg_src/jpegint.h" "$prefix/include/"
  # kissfft takes its install folders from GNUInstallDirs on Unix only.
  build_dependency "$target" kissfft "$kissfft_src" \
    -DKISSFFT_STATIC=ON -DKISSFFT_DATATYPE=float -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
    -DKISSFFT_PKGCONFIG=OFF \
    -DCMAKE_INSTALL_LIBDIR:STRING=lib -DCMAKE_INSTALL_INCLUDEDIR:STRING=include \
    -DCMAKE_INSTALL_BINDIR:STRING=bin
  echo "$stamp" > "$prefix/.lumenfold-complete"
}

build_target() {
  local target=$1 build="$top/build-$target"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${werror[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$target")" \
    -DLUMENFOLD_CROSS_PREFIX="$cross/$target/prefix" \
    -DLUMENFOLD_BUILD_APP=ON -DLUMENFOLD_BUILD_TESTS=ON \
    -DLUMENFOLD_BUILD_BENCH=OFF -DLUMENFOLD_BUILD_FUZZ=OFF
  cmake --build "$build" -j "$jobs" --target lumenfold lumenfold_tests
  check_imports "$target" "$build"
}

# A program that imports a DLL outside Windows (libstdc++, libwinpthread, zlib, ...) does not
# start on a machine that lacks it.
check_imports() {
  local target=$1 build=$2 exe dll bad=0
  for exe in "$build"/app/*.exe "$build/tests/lumenfold_tests.exe"; do
    while read -r dll; do
      case "${dll,,}" in
        kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll| \
        comdlg32.dll|comctl32.dll|imm32.dll|shlwapi.dll|rpcrt4.dll|winmm.dll|version.dll| \
        wininet.dll|ws2_32.dll|wsock32.dll|dxgi.dll|msvcrt.dll|opengl32.dll|d2d1.dll| \
        dwrite.dll|setupapi.dll|iphlpapi.dll|uxtheme.dll|dwmapi.dll|crypt32.dll|bcrypt.dll| \
        api-ms-win-*) ;;
        *) echo "$exe imports $dll, which is not a Windows system DLL" >&2; bad=1 ;;
      esac
    done < <("$(triple_of "$target")-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  done
  return "$bad"
}

"$top/scripts/ensure-packages.sh" --deb-src "$top/scripts/packages-cross.txt"
fetch_sources

# The targets build side by side: a few large JUCE translation units dominate each build, so
# one alone leaves most cores idle. Each target's output goes to its own log.
pids=()
for target in "${targets[@]}"; do
  log="$cross/build-$target.log"
  echo "== $target: building (log: $log)"
  ( build_dependencies "$target" && build_target "$target" ) > "$log" 2>&1 &
  pids+=("$!")
done
failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  log="$cross/build-$target.log"
  if wait "${pids[$i]}"; then
    echo "== $target: built $(grep -c 'warning:' "$log" || true) compiler warnings; last lines of the log:"
    tail -n 3 "$log"
  else
    cat "$log"
    echo "== $target: the build failed" >&2
    failed=1
  fi
done
exit "$failed"
