# The hardware troubleshooting guide "\hdguide.chm", compiled from its HTML sources.
file(GLOB hdguide_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/hdguide/*)
set(hdguide_output ${KELVANE_APP_DIR}/hdguide.chm)
add_custom_command(OUTPUT ${hdguide_output}
  COMMAND bash ${CMAKE_SOURCE_DIR}/help/build_chm.sh ${CMAKE_SOURCE_DIR}/help/hdguide ${hdguide_output}
  DEPENDS ${hdguide_sources} ${CMAKE_SOURCE_DIR}/help/build_chm.sh ${CMAKE_SOURCE_DIR}/scripts/convert_text.py
  VERBATIM)
set_property(GLOBAL APPEND PROPERTY KELVANE_APP_FILES ${hdguide_output})
list(APPEND KELVANE_WIN_TESTS tests/win/HelpFilesTest.cpp)
