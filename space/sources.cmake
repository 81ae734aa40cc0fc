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
)
