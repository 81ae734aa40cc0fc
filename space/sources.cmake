# Sources of space/ compiled into lumenfold_core, one line each.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylCell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellHashSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylIntCounter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRectangleTile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeStamp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellLabelDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellTriggerDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordAssistDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordFilterDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylKeyDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylOnClickDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylScaleDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylScaleNoteTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylVoicingDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellStates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylLiveSpace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceModule.cpp
)
