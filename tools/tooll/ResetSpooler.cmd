@echo off
rem A 32-bit program on 64-bit Windows starts the 32-bit command processor, which
rem sees another System32 (sfc, for one, cannot work there): run this script in
rem the 64-bit command processor instead.
rem Not in a bracketed block: a ")" in the script's path, as in "Program Files
rem (x86)", would end the block early.
if not defined PROCESSOR_ARCHITEW6432 goto ready
if not exist "%SystemRoot%\Sysnative\cmd.exe" goto ready
"%SystemRoot%\Sysnative\cmd.exe" /c ""%~f0""
exit /b
:ready
rem Programs are called by name, and the current folder is searched first: work
rem from the system folder, so that a program of the same name planted in the
rem folder this was started from never runs with administrator rights.
cd /d "%SystemRoot%\System32"
if /i not "%cd%"=="%SystemRoot%\System32" exit /b 1
setlocal EnableExtensions
rem The texts below are GBK, shown in code page 936; the console gets its own
rem code page back at the end. chcp answers with it as the last word, followed
rem by a full stop in some languages.
set "consoleCodePage="
for /f "delims=" %%L in ('chcp') do set "consoleCodePage=%%L"
:lastword
if defined consoleCodePage if not "%consoleCodePage: =%"=="%consoleCodePage%" set "consoleCodePage=%consoleCodePage:* =%" & goto lastword
if defined consoleCodePage for /f "delims=." %%N in ("%consoleCodePage%") do set "consoleCodePage=%%N"
chcp 936 >nul
title 重置打印服务
echo ==========================================================
echo   重置打印服务
echo ==========================================================
echo.
echo 本程序重新启动打印后台处理服务，并清除卡住的打印任务，用于打印
echo 任务一直“正在打印”、删不掉或者打印机没有反应的情况。
echo 注意：所有还没打印完的任务都会被删除，无法恢复，需要重新打印。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
rem sc prints its field names (START_TYPE, DISABLED, RUNNING …) in English on
rem every language of Windows, so they can be searched for.
set "find=%SystemRoot%\System32\find.exe"
sc qc spooler 2>nul | "%find%" "START_TYPE" | "%find%" "DISABLED" >nul
if not errorlevel 1 goto disabled
call :ask "确定要清除打印任务并重启打印服务吗？"
if errorlevel 1 goto cancelled
echo.
rem "net stop /y" also stops the services that depend on the spooler (fax, some
rem printer makers' services). Note those that run now, to start them again.
set "dependents="
for /f "tokens=2" %%S in ('sc enumdepend spooler 8192 2^>nul ^| "%find%" "SERVICE_NAME"') do call :noterunning %%S
echo 正在停止打印服务……
net stop spooler /y >nul 2>&1
sc query spooler 2>nul | "%find%" "STOPPED" >nul
if errorlevel 1 goto notstopped
echo 正在清除打印任务……
set "queue=%SystemRoot%\System32\spool\PRINTERS"
if exist "%queue%\" del /f /q /a "%queue%\*.*" >nul 2>&1
rem del says nothing of the files it could not remove: count what is left (all
rem files, hidden ones too).
set "left=0"
if exist "%queue%\" for /f "delims=" %%F in ('dir /b /a-d "%queue%" 2^>nul') do set /a left+=1
echo 正在启动打印服务……
net start spooler >nul 2>&1
if errorlevel 1 (
  echo.
  echo 【失败】打印服务没有启动：请重新启动电脑后再试。
  goto end
)
set "failed=0"
for %%S in (%dependents%) do call :startagain %%S
echo.
if "%left%"=="0" (
  echo 打印任务已清除。
) else (
  echo 【没有全部清除】还有 %left% 个打印任务文件没能删除，可能正被其他程序占用：
  echo 请重新启动电脑后再运行一次本程序。
)
if "%failed%"=="0" (
  echo 完成：打印服务已重新启动，请重新打印。
) else (
  echo 打印服务已重新启动，但上面列出的 %failed% 个相关服务没有重新启动：
  echo 重新启动电脑后它们会恢复。
)
goto end

:noterunning
sc query %1 2>nul | "%find%" "RUNNING" >nul
if not errorlevel 1 set "dependents=%dependents% %1"
exit /b 0

:startagain
echo 正在重新启动相关服务 %1 ……
net start %1 >nul 2>&1
if errorlevel 1 (
  echo   没有启动：%1
  set /a failed+=1
)
exit /b 0

:disabled
echo 【打印服务已被禁用】这台电脑的“打印后台处理程序”（Print Spooler）服务
echo 被设置为“禁用”，所以现在不能打印，打印机也可能显示为不可用。它可能是
echo 管理员或安全软件为了防范打印服务的安全漏洞而有意关闭的，也可能是某些
echo “优化”软件关闭的。本程序不会擅自打开它，没有做任何更改。
echo 需要打印时：按 Win+R 输入 services.msc 后回车，双击“Print Spooler”，
echo 把“启动类型”改为“自动”，点“启动”后确定，再运行本程序。
goto end

:notstopped
echo.
echo 【失败】打印服务没有停止，打印任务没有清除，本程序没有做其他更改。
echo 请重新启动电脑后再试。
for %%S in (%dependents%) do net start %%S >nul 2>&1
goto end

rem ---- Shared routines ----------------------------------------------------

:checkadmin
rem "net session" needs administrator rights; "fltmc" answers the same question
rem on systems where the Server service is stopped.
net session >nul 2>&1
if not errorlevel 1 exit /b 0
fltmc >nul 2>&1
if not errorlevel 1 exit /b 0
exit /b 1

:ask
rem Only an explicit Y goes on; Enter alone or anything else cancels.
set "answer=N"
set /p "answer=%~1（输入 Y 后按回车继续，直接按回车取消）："
set "answer=%answer:"=%"
if /i "%answer%"=="Y" exit /b 0
exit /b 1

:noadmin
echo.
echo 【权限不足】这项操作需要管理员权限，本程序没有做任何更改。
echo 请关闭本窗口，右键点击本程序，选择“以管理员身份运行”；
echo 也可以用管理员身份运行 Kelvane，再从“维护工具”启动本程序。
goto end

:cancelled
echo.
echo 已取消，本程序没有做任何更改。
goto end

:end
echo.
echo 按任意键关闭本窗口……
pause >nul
endlocal & if not "%consoleCodePage%"=="" chcp %consoleCodePage% >nul
exit /b
