# 64-bit Windows (x86-64) with Debian's MinGW-w64 compilers.
set(LUMENFOLD_MINGW_TRIPLE x86_64-w64-mingw32)
set(LUMENFOLD_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
