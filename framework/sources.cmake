# Sources of framework/ compiled into lumenfold_core.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylDebug.cpp
)
