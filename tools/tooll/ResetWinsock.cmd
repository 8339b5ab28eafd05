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
title 重置Winsock目录
echo ==========================================================
echo   重置Winsock目录
echo ==========================================================
echo.
echo 本程序把 Winsock 目录恢复为系统默认设置。能连上网络却打不开任何
echo 网页、网络程序报“套接字”错误时，多半是 Winsock 目录被软件改坏了。
echo.
echo 注意：重置后，部分网络加速器、旧版防火墙等修改过 Winsock 的软件
echo 可能需要重新安装；这一步无法撤销。重置后需要重新启动电脑。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要重置 Winsock 目录吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在重置 Winsock 目录……
netsh winsock reset
if errorlevel 1 (
  echo.
  echo 重置失败：系统拒绝了这项操作，请记下上面的提示后重试。
) else (
  echo.
  echo 完成：Winsock 目录已恢复默认。请保存好工作，然后重新启动电脑。
)
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
