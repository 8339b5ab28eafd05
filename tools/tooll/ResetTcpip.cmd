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
title 重置TCP/IP协议
echo ==========================================================
echo   重置TCP/IP协议
echo ==========================================================
echo.
echo 本程序把 TCP/IP 协议的设置恢复为安装系统时的状态，用于网络连接
echo 显示正常却无法上网、总是获取不到地址等情况。
echo.
echo 注意：手工设置过的固定 IP 地址、网关和 DNS 服务器会被清除，需要
echo 重新填写；这一步无法撤销。重置后需要重新启动电脑。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要重置 TCP/IP 协议吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在重置 TCP/IP 协议……
rem No log file: with administrator rights, a log written under a fixed name in
rem the user's temporary folder would be written through whatever link was
rem planted at that name. netsh prints what it resets in this window.
netsh int ip reset
if errorlevel 1 goto partly
echo.
echo 完成：TCP/IP 协议已恢复默认。请保存好工作，然后重新启动电脑，重置在
echo 重启之后才生效。
goto end

:partly
rem netsh reports a failure when any one of its settings was refused, although
rem it has reset all the others; the list above says which, in the system's
rem own words.
echo.
echo 【没有全部完成】上面的列表中，标为“确定”（OK）的设置已经恢复默认，标为
echo “失败”（failed）的没有重置。只有一两项显示“拒绝访问”是常见的情况：这些
echo 设置受系统保护，一般不影响上网。
echo 请保存好工作，然后重新启动电脑，重置在重启之后才生效；重启后仍然不能上网，
echo 再运行一次本程序。如果列表中每一项都失败了，说明系统拒绝了这项操作，可以
echo 改用“设置 → 网络和 Internet”中的“网络重置”（Windows 10/11）。
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
