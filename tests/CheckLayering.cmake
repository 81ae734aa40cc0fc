# Checks the include rules of the core, run as a test with
#   cmake -DSOURCE_DIR=<top of the sources> -P CheckLayering.cmake
# The module model (everything in framework/, modules/ and space/ but the processor side)
# includes no header of the processor side, so that the tree builds and runs without the
# processor; and nothing in the core includes a header of ui/ or app/.
set(processor_side ZylFilter ZylEditor ZylHostParameter ZylFilterLink)

file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/framework/*.h ${SOURCE_DIR}/framework/*.cpp
  ${SOURCE_DIR}/modules/*.h ${SOURCE_DIR}/modules/*.cpp
  ${SOURCE_DIR}/space/*.h ${SOURCE_DIR}/space/*.cpp)

# Headers of the interface layer, by file name, so that an include without the folder is caught
# too.
file(GLOB ui_headers RELATIVE ${SOURCE_DIR}/ui ${SOURCE_DIR}/ui/*.h)

set(faults "")
foreach(path ${core_files})
  get_filename_component(stem ${path} NAME_WE)
  file(STRINGS ${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    get_filename_component(header_name ${header} NAME)
    list(FIND ui_headers ${header_name} ui_header)
    if(header MATCHES "^(ui|app)/" OR NOT ui_header EQUAL -1)
      list(APPEND faults "${path}: ${header}")
    endif()
    get_filename_component(header_stem ${header} NAME_WE)
    list(FIND processor_side ${stem} own_side)
    list(FIND processor_side ${header_stem} header_side)
    if(own_side EQUAL -1 AND NOT header_side EQUAL -1)
      list(APPEND faults "${path}: ${header}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes across the layers:\n  ${text}")
endif()
