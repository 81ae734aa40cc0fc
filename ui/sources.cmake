# Sources of ui/ compiled into lumenfold_ui, one line each, sorted.
target_sources(lumenfold_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylDrawableButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGridPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGridView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGuiHelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylJuceUiSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLookAndFeel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPianoPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPianoView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSlider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpacer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylStatusView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTextButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylUiSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylViewBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylViewport.cpp
)
