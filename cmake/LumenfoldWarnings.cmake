# The warning set of lumenfold's own code (framework/, modules/, space/, ui/, app/, tests/, bench/,
# fuzz/), as the interface target lumenfold_warnings: each of our targets links it privately.
# JUCE's headers are system headers to our code, so their warnings stay out of view.
#
# LUMENFOLD_WERROR makes these warnings errors. AUTO (the default) does so when the environment
# variable CI is set to anything but "", 0, false or no, as continuous integration does.

set(LUMENFOLD_WERROR AUTO CACHE STRING "Warnings in our code are errors: ON, OFF or AUTO (ON under CI)")
set_property(CACHE LUMENFOLD_WERROR PROPERTY STRINGS AUTO ON OFF)

set(_lumenfold_werror OFF)
if(LUMENFOLD_WERROR STREQUAL "AUTO")
  if(DEFINED ENV{CI} AND NOT "$ENV{CI}" MATCHES "^(|0|[Ff][Aa][Ll][Ss][Ee]|[Nn][Oo])$")
    set(_lumenfold_werror ON)
  endif()
elseif(LUMENFOLD_WERROR)
  set(_lumenfold_werror ON)
endif()
if(_lumenfold_werror)
  message(STATUS "Warnings in lumenfold's own code are errors")
endif()

add_library(lumenfold_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(lumenfold_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Woverloaded-virtual -Wnon-virtual-dtor
    $<$<BOOL:${_lumenfold_werror}>:-Werror>)
endif()
