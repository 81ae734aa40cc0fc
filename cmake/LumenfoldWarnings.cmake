# The warning set of lumenfold's own code (framework/, modules/, space/, ui/, app/, tests/, bench/,
# fuzz/), as the interface target lumenfold_warnings: each of our targets links it privately.
# JUCE's headers are system headers to our code, so their warnings stay out of view.
#
# LUMENFOLD_WERROR=ON makes these warnings errors. Nothing in the environment changes it: .ci/run
# asks for it on the command line of each of its builds.

option(LUMENFOLD_WERROR "Warnings in lumenfold's own code are errors" OFF)
# A build folder configured when the switch still had an AUTO value gets the plain default.
if(LUMENFOLD_WERROR STREQUAL "AUTO")
  set(LUMENFOLD_WERROR OFF CACHE BOOL "Warnings in lumenfold's own code are errors" FORCE)
endif()
set(_lumenfold_werror ${LUMENFOLD_WERROR})
if(_lumenfold_werror)
  message(STATUS "Warnings in lumenfold's own code are errors")
endif()

add_library(lumenfold_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(lumenfold_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Woverloaded-virtual -Wnon-virtual-dtor
    $<$<BOOL:${_lumenfold_werror}>:-Werror>)
endif()
