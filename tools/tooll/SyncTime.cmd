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
chcp 936 >nul
setlocal EnableExtensions
title 同步系统时间
echo ==========================================================
echo   同步系统时间
echo ==========================================================
echo.
echo 本程序让电脑和互联网时间服务器对时。系统时间不准时，网页会提示
echo “证书错误”，部分软件也会无法登录。对时前后的时间都会显示出来。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
rem sc prints its field names (START_TYPE, DISABLED, RUNNING …) in English on
rem every language of Windows, so they can be searched for.
set "find=%SystemRoot%\System32\find.exe"
sc query w32time >nul 2>&1
if errorlevel 1 goto noservice
sc qc w32time 2>nul | "%find%" "START_TYPE" | "%find%" "DISABLED" >nul
if not errorlevel 1 goto disabled
echo 对时前：%date% %time%
sc query w32time 2>nul | "%find%" "RUNNING" >nul
if not errorlevel 1 goto sync
echo 正在启动 Windows 时间服务……
net start w32time >nul 2>&1
sc query w32time 2>nul | "%find%" "RUNNING" >nul
if not errorlevel 1 goto sync
echo.
echo 【失败】Windows 时间服务没有启动，所以无法对时，这不是网络的问题。
echo 请重新启动电脑后再试；仍然不行时，可以在“日期和时间”设置里手工调整。
goto end

:sync
echo 正在对时……
w32tm /resync
if errorlevel 1 w32tm /resync /rediscover
if errorlevel 1 (
  echo.
  echo 对时失败：时间服务正在运行，但没有从时间服务器得到时间。请检查网络
  echo 连接后再试，或在“日期和时间”设置里手工调整。
) else (
  echo.
  echo 完成：对时后：%date% %time%
)
goto end

:disabled
echo 【时间服务已被禁用】这台电脑的“Windows 时间”服务（Windows Time）被设置
echo 为“禁用”，所以电脑不会自动对时，这不是网络的问题。本程序不会擅自打开
echo 它，没有做任何更改。
echo 需要自动对时的话：按 Win+R 输入 services.msc 后回车，双击“Windows Time”，
echo 把“启动类型”改为“手动”或“自动”，确定后再运行本程序。也可以在“日期和
echo 时间”设置里手工调整时间。
goto end

:noservice
echo 【没有找到时间服务】这台电脑上没有“Windows 时间”服务（Windows Time），
echo 可能被精简或删除了，所以无法自动对时，这不是网络的问题。请在“日期和
echo 时间”设置里手工调整时间。
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
endlocal
exit /b
