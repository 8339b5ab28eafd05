add_test(NAME hdguide_chm COMMAND python3 ${CMAKE_SOURCE_DIR}/help/check_chm.py ${KELVANE_APP_DIR}/hdguide.chm)
