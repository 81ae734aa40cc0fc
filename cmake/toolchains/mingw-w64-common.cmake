# Shared part of the MinGW-w64 toolchain files; the including file sets LUMENFOLD_MINGW_TRIPLE
# and LUMENFOLD_MINGW_PROCESSOR first.
#
# Debian's "-posix" compilers are used: the "-win32" thread model lacks std::thread and
# std::mutex. Programs link statically (libgcc, libstdc++ and winpthreads included) so that
# they import only Windows system DLLs.
#
# Third-party libraries built for the target live in LUMENFOLD_CROSS_PREFIX (bin, include, lib);
# it and the compiler's own sysroot are the only places searched for libraries, headers and
# CMake packages.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${LUMENFOLD_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${LUMENFOLD_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMENFOLD_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMENFOLD_MINGW_TRIPLE}-windres)

# try_compile() projects read this file again; hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUMENFOLD_CROSS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMENFOLD_MINGW_TRIPLE})
if(LUMENFOLD_CROSS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${LUMENFOLD_CROSS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
