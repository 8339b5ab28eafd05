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
title 系统信息摘要
echo ==========================================================
echo   系统信息摘要
echo ==========================================================
echo.
echo 本程序显示这台电脑的基本信息，向别人求助时可以提供给对方。
echo 它只读取信息，不改动任何设置。
echo.
echo 隐私提醒：这些信息里有计算机名、用户名、Windows 的产品 ID 和网卡的
echo IP 地址。贴到论坛等公开的地方之前，请先把它们删去或改成“***”。
echo.
echo 计算机名：%COMPUTERNAME%
echo 当前用户：%USERNAME%
echo 处理器：  %PROCESSOR_IDENTIFIER%
echo 处理器数：%NUMBER_OF_PROCESSORS%
echo 系统目录：%SystemRoot%
ver
echo.
rem systeminfo takes many seconds: it runs once, and the copy to keep is the
rem same output, so the question comes first. The file's name is picked only
rem after the answer, right before the write: the user may take any time to
rem answer, and a name checked before that proves nothing about it afterwards.
call :ask "要把详细信息同时保存到桌面上的“系统信息.txt”吗？"
if errorlevel 1 goto showonly
call :pickreport
if errorlevel 1 goto nosave
echo 正在收集详细信息，请稍候……
systeminfo > "%report%" 2>nul
if errorlevel 1 (
  del /f /q "%report%" >nul 2>&1
  echo 本系统不能显示详细信息：systeminfo 程序不可用，没有保存文件。
  goto end
)
type "%report%"
echo.
echo 完成：以上信息已保存到 %report%
echo 公开发帖前，请先在文件中删去计算机名（主机名）、用户名（注册的所有人）、
echo 产品 ID 和 IP 地址。
goto end

:nosave
echo 桌面文件夹找不到、是指向别处的链接，或者“系统信息”到“系统信息9”
echo 都已占用，为安全起见不保存文件，只在本窗口显示详细信息。
:showonly
echo 正在收集详细信息，请稍候……
systeminfo
if errorlevel 1 echo 本系统不能显示详细信息：systeminfo 程序不可用。
goto end

:pickreport
rem A new file on the desktop (or in the user's folder), never one that is
rem already there: with administrator rights, writing over an existing name
rem would write through a link planted there into another file. A folder that
rem is itself a link (a junction to the system folder, say) is refused too.
set "report="
call :desktop
if not defined folder set "folder=%USERPROFILE%\Desktop"
if not exist "%folder%\" set "folder=%USERPROFILE%"
call :plainfolder
if errorlevel 1 exit /b 1
for %%N in (系统信息 系统信息2 系统信息3 系统信息4 系统信息5 系统信息6 系统信息7 系统信息8 系统信息9) do (
  if not defined report if not exist "%folder%\%%N.txt" set "report=%folder%\%%N.txt"
)
if not defined report exit /b 1
exit /b 0

:desktop
rem The desktop the shell shows: moved to another drive, or into OneDrive, it
rem is not %USERPROFILE%\Desktop. The user's shell folders hold its path, most
rem often with %USERPROFILE% in it, which "call set" expands.
set "folder="
for /f "tokens=2,*" %%A in ('reg query "HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders" /v Desktop 2^>nul ^| "%SystemRoot%\System32\find.exe" "REG_"') do call set "folder=%%B"
exit /b 0

:plainfolder
rem %%~aF gives the attributes, "l" a link or another reparse point. A folder
rem kept in OneDrive carries the cloud files tag (0x9000?01a), which redirects
rem nothing and is the one reparse point accepted; fsutil names the tag in the
rem same digits in every language.
for %%F in ("%folder%") do set "attributes=%%~aF"
if "%attributes:l=%"=="%attributes%" exit /b 0
fsutil reparsepoint query "%folder%" 2>nul | "%SystemRoot%\System32\findstr.exe" /i /r /c:"0x9000.01a" >nul
if errorlevel 1 exit /b 1
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
