# Sources of modules/ compiled into lumenfold_core, one line each.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylSamplerSound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSamplerVoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylWavetable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGainDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthModule.cpp
)
