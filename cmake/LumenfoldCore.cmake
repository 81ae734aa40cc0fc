# The core library: the JUCE modules, compiled once, together with the headless code of
# framework/, modules/ and space/. The program, the tests, the benchmarks and the fuzzers all
# link this one static library; nothing compiles a JUCE module a second time.

add_library(lumenfold_core STATIC)

target_compile_definitions(lumenfold_core PUBLIC
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
  JUCE_APPLICATION_VERSION_STRING="2.5.0")

# The JUCE module targets are interface libraries whose sources compile into whatever links them.
# Linking them privately puts their code into this library only; their include folders and
# definitions are then handed on to the consumers by hand.
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

target_link_libraries(lumenfold_core
  PRIVATE
    ${LUMENFOLD_JUCE_MODULES}
    juce::juce_recommended_config_flags
    juce::juce_recommended_warning_flags
  PUBLIC
    kissfft::kissfft)

# Debian's JUCE uses the system's libpng and libjpeg in place of its bundled copies.
if(TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
  target_link_libraries(lumenfold_core PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()
if(MINGW)
  # The same for Windows, from the static builds that scripts/cross-build.sh makes (zlib is
  # Debian's libz-mingw-w64-dev); the DLL import library of zlib must not be picked.
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  target_link_libraries(lumenfold_core PUBLIC PNG::PNG JPEG::JPEG ZLIB::ZLIB)
endif()

target_include_directories(lumenfold_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
foreach(module ${LUMENFOLD_JUCE_MODULES})
  target_include_directories(lumenfold_core INTERFACE
    $<TARGET_PROPERTY:${module},INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(lumenfold_core INTERFACE
    $<TARGET_PROPERTY:${module},INTERFACE_COMPILE_DEFINITIONS>)
endforeach()

foreach(dir framework modules space)
  include(${CMAKE_CURRENT_SOURCE_DIR}/${dir}/sources.cmake)
endforeach()

# The archives built into the program (resources/), packed at build time.
include(${CMAKE_CURRENT_SOURCE_DIR}/cmake/ZylEmbeddedArchives.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/resources/archives.cmake)
