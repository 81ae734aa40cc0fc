# Test sources for space/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellSetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylCellTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylIntCounterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSpaceTest.cpp
)
