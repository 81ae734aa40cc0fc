# Test sources for framework/, one line each.
target_sources(lumenfold_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZylDebugTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHelpersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylMessageTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRealDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFilteredLinkDomainTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylGeneralDomainsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylNumberTextTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylStateXmlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylSettingsFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPropertySetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFxFilesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylRealParameterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylParameterSetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylPinCableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylModuleStateTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylBankFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylProgramModuleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylHostLinkTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylFilterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZylEditorTest.cpp
)
