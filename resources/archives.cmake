# The archives embedded in the program, one line each (see cmake/ZylEmbeddedArchives.cmake).
# ZylEmbeddedArchive.cpp is the code that finds them and reads their entries.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylEmbeddedArchive.cpp
)

# The synthesiser's sound bank: its description is entry 0, the sampler WAVs would follow.
zyl_add_embedded_archive(soundbank ${CMAKE_CURRENT_LIST_DIR}/soundbank FILES _metadata.xml)
