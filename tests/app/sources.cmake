# Test sources for app/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainAppWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylAudioThreadAllocationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylBankDescriptionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFactoryBankTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylIdleBlockTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldEditorPlayingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldEditorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldEndToEndTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldProcessorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylQuitSignalsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRepaintPumpTest.cpp
)
