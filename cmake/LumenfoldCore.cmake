# The core library: the JUCE modules, compiled once, together with the headless code of
# framework/, modules/ and space/. The program, the tests, the benchmarks and the fuzzers all
# link this one static library; nothing compiles a JUCE module a second time.

include(${CMAKE_CURRENT_LIST_DIR}/LumenfoldWarnings.cmake)

set(LUMENFOLD_JUCE_DEFINITIONS
  JUCE_WEB_BROWSER=0
  JUCE_USE_CURL=0
  JUCE_USE_FLAC=0
  JUCE_USE_OGGVORBIS=0
  JUCE_MODAL_LOOPS_PERMITTED=1
  JUCE_JACK=1
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_REPORT_APP_USAGE=0
  JUCE_STANDALONE_APPLICATION=1
  JUCE_APPLICATION_NAME_STRING="lumenfold"
  JUCE_APPLICATION_VERSION_STRING="${PROJECT_VERSION}")

# The JUCE module targets are interface libraries whose sources compile into whatever links them.
# They are linked privately into an object library of their own, whose objects go into the core
# library only: JUCE's translation units keep their own flags (and their warnings stay out of
# the build output), while our sources get the strict warning set and see JUCE's headers as
# system headers. The modules' include folders and definitions are handed on by hand.
set(LUMENFOLD_JUCE_MODULES
  juce::juce_core
  juce::juce_events
  juce::juce_data_structures
  juce::juce_graphics
  juce::juce_gui_basics
  juce::juce_gui_extra
  juce::juce_audio_basics
  juce::juce_audio_devices
  juce::juce_audio_formats
  juce::juce_audio_processors
  juce::juce_audio_utils)

add_library(lumenfold_juce OBJECT)
target_compile_definitions(lumenfold_juce PRIVATE ${LUMENFOLD_JUCE_DEFINITIONS})
target_link_libraries(lumenfold_juce PRIVATE
  ${LUMENFOLD_JUCE_MODULES}
  juce::juce_recommended_config_flags)
# Third-party code: its warnings are not ours to fix.
target_compile_options(lumenfold_juce PRIVATE -w)
# Nor its undefined behaviour: in a sanitizer build JUCE keeps AddressSanitizer, which catches our
# misuse of its buffers, but not UndefinedBehaviorSanitizer, which would only report JUCE's own
# code and makes its objects much slower to compile.
if(LUMENFOLD_SANITIZE MATCHES "undefined")
  target_compile_options(lumenfold_juce PRIVATE -fno-sanitize=undefined)
endif()

add_library(lumenfold_core STATIC)
target_compile_definitions(lumenfold_core PUBLIC ${LUMENFOLD_JUCE_DEFINITIONS})
target_link_libraries(lumenfold_core
  PRIVATE
    lumenfold_juce
    juce::juce_recommended_config_flags
    lumenfold_warnings
  PUBLIC
    kissfft::kissfft)

# Debian's JUCE uses the system's libpng and libjpeg in place of its bundled copies.
if(TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
  target_link_libraries(lumenfold_juce PRIVATE juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
  target_link_libraries(lumenfold_core PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()
if(MINGW)
  # The same for Windows, from the static builds that scripts/cross-build.sh makes (zlib is
  # Debian's libz-mingw-w64-dev); the DLL import library of zlib must not be picked.
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  target_link_libraries(lumenfold_juce PRIVATE PNG::PNG JPEG::JPEG ZLIB::ZLIB)
  target_link_libraries(lumenfold_core PUBLIC PNG::PNG JPEG::JPEG ZLIB::ZLIB)
endif()

target_include_directories(lumenfold_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
foreach(module ${LUMENFOLD_JUCE_MODULES})
  target_include_directories(lumenfold_core SYSTEM PUBLIC
    $<TARGET_PROPERTY:${module},INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(lumenfold_core PUBLIC
    $<TARGET_PROPERTY:${module},INTERFACE_COMPILE_DEFINITIONS>)
endforeach()

foreach(dir framework modules space)
  include(${CMAKE_CURRENT_SOURCE_DIR}/${dir}/sources.cmake)
endforeach()

# The archives built into the program (resources/), packed at build time.
include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/ZylEmbeddedArchives.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/resources/archives.cmake)
