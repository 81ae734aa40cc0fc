# Test sources for framework/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylDebugTest.cpp
)
