# The archives embedded in the program, one line each (see cmake/ZylEmbeddedArchives.cmake).
# ZylEmbeddedArchive.cpp is the code that finds them and reads their entries.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylEmbeddedArchive.cpp
)

# The synthesiser's sound bank: its description is entry 0, the sampler WAVs would follow.
zyl_add_embedded_archive(soundbank ${CMAKE_CURRENT_LIST_DIR}/soundbank FILES _metadata.xml)

# The built-in demo tracks, read by entry index: entry i plays as track value i.
zyl_add_embedded_archive(demotracks ${CMAKE_CURRENT_LIST_DIR}/demotracks FILES
  01-gymnopedie.mid 02-greensleeves.mid 03-praeambulum.mid 04-the-entertainer.mid
  05-cmajor-scale.mid 06-pulses8x16d.mid)

# Interface art, drawn by make_art.py (SVG, paths and plain fills). The names of these archives
# are in ui/ZylArtArchives.h.
zyl_add_embedded_archive(interfaceart ${CMAKE_CURRENT_LIST_DIR}/interfaceart FILES
  collapse.svg decrease.svg expand.svg increase.svg modulate.svg mousewheel.svg
  radio1.svg radio2.svg radio3.svg radio4.svg radio5.svg vendorlogo.svg)
zyl_add_embedded_archive(aboutandhelp ${CMAKE_CURRENT_LIST_DIR}/aboutandhelp FILES
  aboutvstasio.svg applogo.svg help1.svg)
zyl_add_embedded_archive(headericons ${CMAKE_CURRENT_LIST_DIR}/headericons FILES
  disk.svg info.svg start.svg stop.svg)
zyl_add_embedded_archive(spaceicons ${CMAKE_CURRENT_LIST_DIR}/spaceicons FILES
  chord.svg key.svg space.svg)
zyl_add_embedded_archive(midiicon ${CMAKE_CURRENT_LIST_DIR}/midiicon FILES midi.svg)
zyl_add_embedded_archive(synthicon ${CMAKE_CURRENT_LIST_DIR}/synthicon FILES synth.svg)

# The factory bank, loaded at start: made by app/tools/ZylMakeFactoryBank.cpp from
# factory-bank.txt beside it (build target lumenfold_update_factory_bank).
zyl_add_embedded_archive(factorybank ${CMAKE_CURRENT_LIST_DIR}/factorybank FILES factory.fxb)
