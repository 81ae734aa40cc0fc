# Sources of modules/ compiled into lumenfold_core, one line each.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylBpmDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGainDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylJuceMidiPortBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromChannelDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromDeviceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromFileDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiInputDeviceManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiInputDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiOutputDeviceManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiOutputDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiSequencer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiToChannelDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiToDeviceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSamplerSound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSamplerVoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSynthModule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeSigDenominatorDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeSigNumeratorDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeUnitDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportModule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportStateDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylWavetable.cpp
)
