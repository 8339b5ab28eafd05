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
title 修复EXE文件关联
echo ==========================================================
echo   修复EXE文件关联
echo ==========================================================
echo.
echo 本程序把 .exe、.com、.bat、.cmd 和快捷方式的打开方式恢复成 Windows
echo 默认设置，并删除当前用户对这几种文件单独设置的打开方式。中毒或误操作
echo 后，双击程序打不开、都用记事本打开、提示“选择打开方式”时可以使用。
echo 注意：这几种文件原来的打开方式设置会被覆盖、删除，无法撤销。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要恢复这些文件的默认打开方式吗？"
if errorlevel 1 goto cancelled
echo.
set "failed=0"
rem The defaults for the whole computer. In a .cmd script assoc and ftype set
rem the error level on success too, so each test sees only its own command.
call :setassoc .exe exefile
call :setassoc .com comfile
call :setassoc .bat batfile
call :setassoc .cmd cmdfile
call :setassoc .lnk lnkfile
for %%T in (exefile comfile batfile cmdfile) do call :setftype %%T
rem Per-user settings win over those defaults: the user's own classes (HKCU
rem Software\Classes, where malware that has no administrator rights writes) and
rem the choice made in "open with" (FileExts\EXT\UserChoice).
for %%K in (.exe exefile .com comfile .bat batfile .cmd cmdfile .lnk lnkfile) do call :dropkey "HKCU\Software\Classes\%%K"
for %%E in (.exe .com .bat .cmd .lnk) do call :dropkey "HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\%%E\UserChoice"
rem What Windows now uses for .exe, read back as the shell sees it.
assoc .exe 2>nul | "%SystemRoot%\System32\find.exe" /i /x ".exe=exefile" >nul
if errorlevel 1 call :notdone "当前生效的 .exe 打开方式"
echo.
if "%failed%"=="0" (
  echo 完成：这几种文件已恢复默认打开方式。
) else (
  echo 【没有全部完成】上面列出的 %failed% 项没有恢复，其余已恢复。可能是
  echo 安全软件阻止了修改，或者恶意程序还在运行：请先用杀毒软件全盘扫描，
  echo 重新启动电脑后再运行本程序。
)
goto end

:dropkey
rem Deletes one registry key with what it holds; a key that is not there is
rem nothing to undo. A key still there afterwards is reported.
reg query "%~1" >nul 2>&1
if errorlevel 1 exit /b 0
reg delete "%~1" /f >nul 2>&1
reg query "%~1" >nul 2>&1
if not errorlevel 1 call :notdone "%~1"
exit /b 0

:setassoc
assoc %1=%2 >nul 2>&1
if errorlevel 1 call :notdone "系统默认设置 %1"
exit /b 0

:setftype
rem Every one of these types starts the file itself with its arguments.
ftype %1="%%1" %%* >nul 2>&1
if errorlevel 1 call :notdone "系统默认设置 %1"
exit /b 0

:notdone
echo   没有恢复：%~1
set /a failed+=1
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
