# The archives embedded in the program, one line each (see cmake/ZylEmbeddedArchives.cmake).
# ZylEmbeddedArchive.cpp is the code that finds them and reads their entries.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylEmbeddedArchive.cpp
)

# The header panel's button icons.
zyl_add_embedded_archive(headericons ${CMAKE_CURRENT_LIST_DIR}/headericons)

# The MIDI panel's icon.
zyl_add_embedded_archive(midiicon ${CMAKE_CURRENT_LIST_DIR}/midiicon)

# The synthesiser's sound bank: its description is entry 0, the sampler WAVs would follow.
zyl_add_embedded_archive(soundbank ${CMAKE_CURRENT_LIST_DIR}/soundbank FILES _metadata.xml)

# The built-in demo tracks, read by entry index: entry i plays as track value i.
zyl_add_embedded_archive(demotracks ${CMAKE_CURRENT_LIST_DIR}/demotracks FILES
  01-gymnopedie.mid 02-greensleeves.mid 03-praeambulum.mid 04-the-entertainer.mid
  05-cmajor-scale.mid 06-pulses8x16d.mid)

# The factory bank, loaded at start: made by app/tools/ZylMakeFactoryBank.cpp from
# factory-bank.txt beside it (build target lumenfold_update_factory_bank).
zyl_add_embedded_archive(factorybank ${CMAKE_CURRENT_LIST_DIR}/factorybank FILES factory.fxb)
