# 32-bit Windows (i386) with Debian's MinGW-w64 compilers.
set(LUMENFOLD_MINGW_TRIPLE i686-w64-mingw32)
set(LUMENFOLD_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Floating point in SSE2 registers, as on x86-64: x87's 80-bit intermediates would round
# differently, and chord ranking relies on exact score ties that must come out as in the
# 64-bit program. This compiler realigns the stack on entry (-mstackrealign is its default),
# so SSE code called back from Windows with a 4-byte aligned stack stays safe.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
