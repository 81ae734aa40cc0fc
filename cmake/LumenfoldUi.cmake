# The interface library: the look-and-feel, panels, widgets, the help module and the seam to the
# desktop (ui/). It sits on the core library; the program and the tests link it, the core never
# includes it.

# Where the help links point: the product's page on the maker's site. The reserved example
# domain stands in until a real site exists.
set(LUMENFOLD_HELP_BASE_URL "https://www.example.com/en/lumenfold" CACHE STRING
  "Base address of the help links (product page, manual, updates, licence)")

add_library(lumenfold_ui STATIC)
target_link_libraries(lumenfold_ui PUBLIC lumenfold_core PRIVATE lumenfold_warnings)
target_compile_definitions(lumenfold_ui PRIVATE
  LUMENFOLD_HELP_BASE_URL="${LUMENFOLD_HELP_BASE_URL}")
include(${CMAKE_SOURCE_DIR}/ui/sources.cmake)
