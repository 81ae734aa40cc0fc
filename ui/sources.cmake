# Sources of ui/ compiled into lumenfold_ui, one line each, sorted.
target_sources(lumenfold_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MidiInputListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MidiOutputListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylDrawableButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGuiHelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylJuceUiSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLookAndFeel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiDeviceSelectorComponent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiPortListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamCombo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamRadio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamRotary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParamToggle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSlider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpacer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTextButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylUiSeam.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylViewport.cpp
)
