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
title 清理临时文件
echo ==========================================================
echo   清理临时文件
echo ==========================================================
echo.
echo 本程序删除临时文件夹中的文件，释放磁盘空间。临时文件是程序运行
echo 时留下的，删除后不会影响已安装的软件；正在使用的文件会被跳过。
echo 注意：删除后无法恢复，请先关闭正在运行的其他程序。
echo.
echo 安全说明：本程序只删除临时文件夹最上一层的文件和空的子文件夹，不进入
echo 任何子文件夹。子文件夹如果是指向别处的“链接”（联接点、符号链接），只
echo 删除链接本身，它指向的文件夹不会受到影响。
echo.
call :checktemp "%TEMP%" "%USERPROFILE%"
if errorlevel 1 goto badtemp
echo 将要清理："%folder%"
call :ask "确定要删除这个文件夹里的临时文件吗？"
if errorlevel 1 goto cancelled
call :clean "%folder%"
call :checkadmin
if errorlevel 1 goto end
call :checktemp "%SystemRoot%\Temp" "%SystemRoot%"
if errorlevel 1 goto end
echo.
echo 还可以清理系统临时文件夹："%folder%"
call :ask "要一并清理系统临时文件夹吗？"
if errorlevel 1 goto end
call :clean "%folder%"
goto end

:badtemp
echo 临时文件夹 "%TEMP%" 不存在，或者看起来不是专用的临时文件夹，或者
echo 不在你的用户文件夹里，或者它的路径上有指向别处的链接。为安全起见本
echo 程序不做清理，没有删除任何文件。
goto end

:checktemp
rem Sets "folder" to the full path of a temporary folder that is safe to empty:
rem it exists, lies inside the folder given second (the user's profile, or the
rem Windows folder), neither it nor any folder above it is a link to somewhere
rem else, and it has a "Temp" or "Tmp" folder in its path. TEMP comes from the
rem user's own settings, which programs without administrator rights can
rem change: a junction anywhere on its path would turn the clean-up on another
rem folder. The full path resolves "..", so "C:\Temp\..\Users" does not pass;
rem the test cuts "\temp\" out of the path (case does not matter) and sees
rem whether anything was cut.
set "folder="
if "%~1"=="" exit /b 1
if "%~2"=="" exit /b 1
if not exist "%~f1\" exit /b 1
set "probe=%~f1"
set "within=%~f2"
call set "inside=%%probe:*%within%\=%%"
if /i not "%within%\%inside%"=="%probe%" exit /b 1
call :nolinks "%~f1"
if errorlevel 1 exit /b 1
set "probe=\%~f1\"
set "rest=%probe:\temp\=%"
if not "%rest%"=="%probe%" goto safetemp
set "rest=%probe:\tmp\=%"
if not "%rest%"=="%probe%" goto safetemp
exit /b 1
:safetemp
set "folder=%~f1"
exit /b 0

:nolinks
rem Fails when the folder given, or any folder above it up to the drive, is a
rem link (a junction or a symbolic link): %%~a gives the attributes, "l" a link.
set "walk=%~f1"
:nolinksstep
if "%walk:~-1%"=="\" set "walk=%walk:~0,-1%"
if "%walk:~1%"==":" exit /b 0
set "attributes="
for %%I in ("%walk%") do set "attributes=%%~aI"
if not defined attributes exit /b 1
if not "%attributes:l=%"=="%attributes%" exit /b 1
for %%I in ("%walk%\..") do set "walk=%%~fI"
goto nolinksstep

:clean
rem Elevated, in a folder where other programs may create folders: any walk
rem down a tree by name can be turned, by a junction swapped in while it runs,
rem into a delete of another folder. So nothing is deleted below the top level:
rem the files there, and each folder by "rd" without /s, which removes an
rem empty folder, or a link itself without following it, and leaves a folder
rem with anything in it alone. Names come from dir and are used with the full
rem path, never relative to the current folder; "eol=:" keeps a name that
rem begins with ";" (no file name can hold a colon).
echo.
echo 正在清理 "%~1" ……
del /f /q /a "%~1\*" >nul 2>&1
for /f "eol=: delims=" %%D in ('dir /a:d /b "%~1" 2^>nul') do rd "%~1\%%D" >nul 2>&1
set "left=0"
for /f "eol=: delims=" %%N in ('dir /a /b "%~1" 2^>nul') do set /a left+=1
echo 完成："%~1" 已清理，仍有 %left% 项（正在使用的文件，或不是空的子文件夹）留下未删。
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
