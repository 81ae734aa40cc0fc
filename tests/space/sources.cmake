# Test sources for space/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellSetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylIntCounterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylModeDomainsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylScaleDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylScaleNoteTableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceDomainSetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylVoicingDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellStatesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordPlacementTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylChordRankingVocabularyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceModuleTest.cpp
)
