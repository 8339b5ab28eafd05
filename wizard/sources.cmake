list(APPEND KELVANE_CORE_SOURCES wizard/IniRules.cpp wizard/RecordText.cpp wizard/WizardLogic.cpp)
list(APPEND KELVANE_WIN_SOURCES wizard/FixWidze.cpp wizard/modIni.cpp wizard/SolutionFiles.cpp)
list(APPEND KELVANE_CORE_TESTS tests/native/IniRulesTest.cpp tests/native/RecordTextTest.cpp tests/native/WizardLogicTest.cpp)
list(APPEND KELVANE_WIN_TESTS tests/win/ModIniTest.cpp tests/win/WizardDataTest.cpp)
list(APPEND KELVANE_APP_TESTS tests/win/WizardAppTest.cpp)

# The solution data: readable UTF-8 sources, installed in GBK with CR LF.
foreach(name sol.ini msgwin.Rd msgdos.Rd boot0.Rd boot1.Rd net0.Rd net1.Rd net2.Rd
             sys0.Rd sys1.Rd sys2.Rd sys3.Rd sys4.Rd)
  kelvane_app_file(wizard/data/${name} data/${name} GBK CRLF)
endforeach()
