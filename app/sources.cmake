# Sources of the product library (app/), one line each.
target_sources(lumenfold_product PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainAppWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylBankDescription.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldLookAndFeel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLumenfoldModule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylQuitSignals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRepaintPump.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lumenfoldApplication.cpp
)
