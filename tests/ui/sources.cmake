# Test sources for ui/, one line each, sorted.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylArtTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCachedDrawablesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFakeUiSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGridViewTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGuiHelpersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHeaderPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHelpTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLookAndFeelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiDeviceSelectorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamComboTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamRadioTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamRotaryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamToggleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamWheelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSnapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTooltipHostTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylUiSeamTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylUiTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylViewsPlayingTest.cpp
)
