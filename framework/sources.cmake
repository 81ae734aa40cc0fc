# Sources of framework/ compiled into lumenfold_core.
target_sources(lumenfold_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylDebug.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHelpers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMessage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMessageSinkList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMessageSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRealDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFilteredLinkDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRangeDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylUnitScaleDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSUnitScaleDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylProbabilityDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPercentageDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHarmonicDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylNullDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylOnOffSwitchDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylModulationSourceDomain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGeneralDomainSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylStateXml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPropertySet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFxFiles.cpp
)
