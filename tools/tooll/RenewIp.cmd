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
title 重新获取IP地址
echo ==========================================================
echo   重新获取IP地址
echo ==========================================================
echo.
echo 本程序释放本机的 IP 地址，再向路由器重新申请一个，用于“受限制
echo 或无连接”、地址冲突等情况。执行期间网络会断开几秒钟，正在下载
echo 的文件可能中断。使用固定 IP 地址的网卡不受影响。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要重新获取 IP 地址吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在释放 IP 地址……
ipconfig /release >nul 2>&1
echo 正在重新获取 IP 地址，可能需要半分钟……
ipconfig /renew
set "renewFailed=%errorlevel%"
rem ipconfig reports a failure when any adapter got no address, an unplugged
rem one too. What counts is whether the computer now has a way out: a default
rem route, which route prints in the same columns on every language of Windows
rem (adapters of virtual machines and WSL keep their own addresses but have none).
rem An address 169.254.x.x is one Windows gave itself because no router answered.
set "gateway="
for /f "tokens=1-3" %%A in ('route print -4 0.0.0.0 2^>nul') do if "%%A"=="0.0.0.0" if "%%B"=="0.0.0.0" set "gateway=%%C"
set "selfAssigned="
for /f "tokens=2 delims=:" %%A in ('ipconfig ^| "%SystemRoot%\System32\find.exe" "IPv4"') do call :noteaddress %%A
echo.
if defined gateway goto renewed
if defined selfAssigned (
  echo 【没有获取到新地址】网卡的地址以 169.254 开头，说明电脑没有从路由器得到
  echo 地址：请重启路由器（或光猫），检查网线或无线连接后再运行一次本程序。
) else (
  echo 【没有获取到新地址】请检查网线或无线连接，并确认路由器已经开机。
)
goto end

:renewed
echo 完成：已经重新获取 IP 地址（网关 %gateway%），地址见上面的列表。
if not "%renewFailed%"=="0" (
  echo 列表中没有插网线、没有连接或已禁用的网卡会显示错误，这是正常的，不用理会。
)
goto end

:noteaddress
set "address=%~1"
if "%address:~0,8%"=="169.254." set "selfAssigned=1"
exit /b 0

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
