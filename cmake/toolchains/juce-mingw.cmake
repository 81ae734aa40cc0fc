# JUCE for the MinGW-w64 cross builds, in place of find_package(JUCE).
#
# Debian's JUCE package is installed for the build machine, and one of its headers does not
# compile for 32-bit MinGW. The module tree is therefore copied into the build folder, the patches
# of cmake/patches/juce-*.patch are applied to the copy (never to the installed package), and the
# module targets are declared on the copy with JUCE's own CMake helpers, as Debian's JUCEConfig
# does for the installed tree. The host tool juceaide (binary data, header generation) is the
# installed one: it runs on the build machine.

set(LUMENFOLD_JUCE_MODULES_SOURCE /usr/share/juce/modules CACHE PATH
  "JUCE module tree that the cross builds copy and patch")

if(NOT LUMENFOLD_JUCE_CMAKE_DIR)
  file(GLOB _lumenfold_juce_support
    /usr/lib/*/cmake/JUCE-*/JUCEModuleSupport.cmake
    /usr/lib/cmake/JUCE-*/JUCEModuleSupport.cmake)
  if(NOT _lumenfold_juce_support)
    message(FATAL_ERROR "JUCE's CMake helpers were not found (Debian package juce-modules-source)")
  endif()
  list(GET _lumenfold_juce_support 0 _lumenfold_juce_support)
  get_filename_component(_lumenfold_juce_dir "${_lumenfold_juce_support}" DIRECTORY)
  set(LUMENFOLD_JUCE_CMAKE_DIR "${_lumenfold_juce_dir}" CACHE PATH "Folder of JUCE's CMake helpers")
endif()

# The copy is made again whenever the set of patches or the installed modules change.
set(_lumenfold_juce_copy "${CMAKE_BINARY_DIR}/juce-modules")
file(GLOB _lumenfold_juce_patches "${CMAKE_CURRENT_LIST_DIR}/../patches/juce-*.patch")
list(SORT _lumenfold_juce_patches)
file(TIMESTAMP "${LUMENFOLD_JUCE_MODULES_SOURCE}/juce_core/juce_core.h" _lumenfold_juce_stamp UTC)
foreach(patch ${_lumenfold_juce_patches})
  file(MD5 "${patch}" _lumenfold_patch_md5)
  string(APPEND _lumenfold_juce_stamp " ${_lumenfold_patch_md5}")
endforeach()
set(_lumenfold_juce_stamp_file "${_lumenfold_juce_copy}/.lumenfold-stamp")
set(_lumenfold_juce_old_stamp "")
if(EXISTS "${_lumenfold_juce_stamp_file}")
  file(READ "${_lumenfold_juce_stamp_file}" _lumenfold_juce_old_stamp)
endif()
if(NOT _lumenfold_juce_old_stamp STREQUAL _lumenfold_juce_stamp)
  message(STATUS "Copying and patching JUCE modules into ${_lumenfold_juce_copy}")
  file(REMOVE_RECURSE "${_lumenfold_juce_copy}")
  file(COPY "${LUMENFOLD_JUCE_MODULES_SOURCE}/" DESTINATION "${_lumenfold_juce_copy}")
  find_package(Git REQUIRED)
  foreach(patch ${_lumenfold_juce_patches})
    # git apply copes with the modules' CRLF line ends, which GNU patch refuses.
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" apply --ignore-whitespace -p1 "${patch}"
      WORKING_DIRECTORY "${_lumenfold_juce_copy}"
      RESULT_VARIABLE _lumenfold_patch_result)
    if(NOT _lumenfold_patch_result EQUAL 0)
      message(FATAL_ERROR "Could not apply ${patch} to the JUCE modules")
    endif()
  endforeach()
  file(WRITE "${_lumenfold_juce_stamp_file}" "${_lumenfold_juce_stamp}")
endif()

set(JUCE_MODULES_DIR "${_lumenfold_juce_copy}" CACHE INTERNAL "The path to JUCE modules")
include("${LUMENFOLD_JUCE_CMAKE_DIR}/JUCEModuleSupport.cmake")
include("${LUMENFOLD_JUCE_CMAKE_DIR}/JUCEUtils.cmake")

if(NOT TARGET juce::juceaide)
  find_program(LUMENFOLD_JUCEAIDE juceaide
    PATHS "${LUMENFOLD_JUCE_CMAKE_DIR}/../../juce" NO_DEFAULT_PATH)
  if(LUMENFOLD_JUCEAIDE)
    add_executable(juce::juceaide IMPORTED)
    set_target_properties(juce::juceaide PROPERTIES IMPORTED_LOCATION "${LUMENFOLD_JUCEAIDE}")
  endif()
endif()

file(GLOB _lumenfold_juce_modules LIST_DIRECTORIES true RELATIVE "${_lumenfold_juce_copy}"
  "${_lumenfold_juce_copy}/juce_*")
foreach(module ${_lumenfold_juce_modules})
  if(IS_DIRECTORY "${_lumenfold_juce_copy}/${module}")
    juce_add_module("${_lumenfold_juce_copy}/${module}" ALIAS_NAMESPACE juce)
  endif()
endforeach()
