# The repair-tool page RepairTool and the system-utility page SysTool, with the
# tool catalogue and the repair programs laid out under tooll\.
list(APPEND KELVANE_CORE_SOURCES
  tools/SysToolCommands.cpp
  tools/ToolButtonArray.cpp
  tools/ToolCatalogue.cpp
  tools/ToolPager.cpp
)
list(APPEND KELVANE_CORE_TESTS
  tests/native/RepairToolCatalogueTest.cpp
  tests/native/RepairToolPagerTest.cpp
  tests/native/SysToolCommandsTest.cpp
)
list(APPEND KELVANE_WIN_SOURCES
  tools/PageTurnLabel.cpp
  tools/RepairTool.cpp
  tools/SysTool.cpp
)

# The catalogue and the repair programs, in GBK with CR LF as Chinese Windows reads them.
kelvane_app_file(tools/tooll/tool.txt tooll/tool.txt GBK CRLF)
foreach(program CleanTemp DiskSpace FixExeAssoc FlushDns IconCache NetCheck RenewIp ResetSpooler ResetTcpip
        ResetWinsock RestartExplorer SfcScan ShowHosts SyncTime SysSummary)
  kelvane_app_file(tools/tooll/${program}.cmd tooll/${program}.cmd GBK CRLF)
endforeach()
list(APPEND KELVANE_WIN_TESTS tests/win/RepairToolPageTest.cpp tests/win/SysToolPageTest.cpp)
list(APPEND KELVANE_APP_TESTS tests/win/ToolsAppTest.cpp)
