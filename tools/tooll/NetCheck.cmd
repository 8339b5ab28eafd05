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
title 网络连通检测
echo ==========================================================
echo   网络连通检测
echo ==========================================================
echo.
echo 本程序依次检查本机网络协议、外部网络和域名解析，帮助判断网络
echo 故障出在哪一环。它只发送测试数据，不改动任何设置。
echo.
rem The system's own find.exe by its full path: Git and other toolkits put a Unix
rem find.exe on the path, which searches for files instead of text.
set "find=%SystemRoot%\System32\find.exe"
echo [1/3] 检查本机网络协议……
ping -n 2 127.0.0.1 | "%find%" "TTL=" >nul
if errorlevel 1 (
  echo       异常：本机协议不通，可以试试“重置TCP/IP协议”。
) else (
  echo       正常。
)
rem The two public DNS servers the hardware guide and the wizard name; one that
rem does not answer ping does not make the network fail the test.
echo [2/3] 检查外部网络（公共 DNS 服务器 223.5.5.5 和 119.29.29.29）……
ping -n 2 -w 3000 223.5.5.5 | "%find%" "TTL=" >nul
if errorlevel 1 ping -n 2 -w 3000 119.29.29.29 | "%find%" "TTL=" >nul
if errorlevel 1 (
  echo       不通：请检查网线、无线连接和路由器，或试试“重新获取IP地址”。
) else (
  echo       正常。
)
echo [3/3] 检查域名解析……
ping -n 1 -w 3000 www.baidu.com | "%find%" "[" >nul
if errorlevel 1 (
  echo       失败：网址无法解析，可以试试“刷新DNS缓存”或“重置Winsock目录”。
  echo       如果手工填写过 DNS 服务器，请改回“自动获得 DNS 服务器地址”再试。
) else (
  echo       正常。
)
echo.
echo 检测完成。
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
