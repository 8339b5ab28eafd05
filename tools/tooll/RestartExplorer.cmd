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
title 重启资源管理器
echo ==========================================================
echo   重启资源管理器
echo ==========================================================
echo.
echo 本程序关闭并重新启动 Windows 资源管理器，用于任务栏、桌面图标
echo 或开始菜单失去响应的情况。
echo 注意：已打开的文件夹窗口会被关闭，不能自动恢复；正在进行的文件复制、
echo 移动和删除会被取消，请等它们完成后再继续。其他程序不受影响。
echo.
call :ask "确定要重启资源管理器吗？"
if errorlevel 1 goto cancelled
call :findsession
if errorlevel 1 goto nosession
echo.
echo 正在关闭资源管理器……
taskkill /f /fi "SESSION eq %session%" /im explorer.exe >nul 2>&1
rem A short pause lets the old process end before anything looks for the new one.
ping -n 3 127.0.0.1 >nul
echo 正在等待资源管理器重新启动……
call :restartshell
if errorlevel 1 goto shellfailed
echo 完成：资源管理器已重新启动，任务栏和桌面稍后会重新出现。
goto end

:findsession
rem Sets "session" to the session this window runs in, so that only the
rem Explorer of this desktop is ended: with administrator rights, "taskkill /im
rem explorer.exe" alone would end the Explorer of every user signed in on this
rem computer. PowerShell's path holds no blank, so it needs no quotes here.
set "session="
set "ps=%SystemRoot%\System32\WindowsPowerShell\v1.0\powershell.exe"
if exist "%ps%" for /f "delims=" %%S in ('%ps% -NoProfile -NonInteractive -Command "[Diagnostics.Process]::GetCurrentProcess().SessionId" 2^>nul') do set "session=%%S"
if not defined session exit /b 1
exit /b 0

:shellrunning
rem Exit code 0 while an Explorer runs in this session.
tasklist /nh /fi "SESSION eq %session%" /fi "IMAGENAME eq explorer.exe" 2>nul | "%SystemRoot%\System32\find.exe" /i "explorer.exe" >nul
if errorlevel 1 exit /b 1
exit /b 0

:waitshell
rem Waits up to %1 seconds for Explorer to run in this session again.
set /a tries=%~1
:waitshellagain
call :shellrunning
if not errorlevel 1 exit /b 0
set /a tries-=1
if %tries% leq 0 exit /b 1
ping -n 2 127.0.0.1 >nul
goto waitshellagain

:restartshell
rem Brings Explorer back as the user of this desktop, without administrator
rem rights: an Explorer started from this window would inherit them, and so
rem would every program opened from the taskbar or the desktop afterwards.
rem Windows itself restarts a shell that ended (Winlogon's AutoRestartShell, on
rem by default) with the rights of the user it belongs to, also when this window
rem was elevated with another account's password. Not every version does so for
rem a shell that was ended on purpose: when none is back within 10 seconds,
rem Explorer is started here with the rights of a basic user (runas
rem /trustlevel:0x20000 drops the administrator rights).
call :waitshell 10
if not errorlevel 1 exit /b 0
echo 资源管理器没有自动重新启动，正在以普通用户权限启动它……
runas /trustlevel:0x20000 "%SystemRoot%\explorer.exe" >nul 2>&1
call :waitshell 10
if errorlevel 1 exit /b 1
exit /b 0

:shellfailed
echo.
echo 【失败】资源管理器没有重新启动，任务栏和桌面暂时不会出现。请按
echo Ctrl+Shift+Esc 打开任务管理器，点“运行新任务”（Windows 11 在窗口上方，
echo Windows 10/7 在“文件”菜单中），输入 explorer 后按回车（不要勾选“以系统
echo 管理权限创建此任务”）；也可以注销后重新登录。
goto end

:nosession
echo.
echo 无法确定本窗口所在的登录会话（PowerShell 不可用），为了不关闭其他
echo 用户的资源管理器，本程序没有做任何更改。可以注销后重新登录来重启
echo 资源管理器。
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
