# Sources of modules/ compiled into lumenfold_core, one line each.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylBpmDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylJuceMidiPortBackend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromChannelDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromDeviceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiFromFileDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiInputDeviceManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiInputDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiOutputDeviceManager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiOutputDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiToChannelDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMidiToDeviceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeSigDenominatorDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeSigNumeratorDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTimeUnitDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportModule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylTransportStateDomain.cpp
)
