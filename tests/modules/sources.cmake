# Test sources for modules/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiDeviceManagerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiInputModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiOutputModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiSequencerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylModuleVocabulariesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSamplerVoiceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylWavetableTest.cpp
)
