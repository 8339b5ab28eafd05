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
title 查看磁盘空间
echo ==========================================================
echo   查看磁盘空间
echo ==========================================================
echo.
echo 本程序列出每个本地硬盘分区的总容量、可用空间和可用空间所占的比例。
echo 系统盘剩余空间太少时，电脑会变慢、无法安装更新，可以用“清理临时
echo 文件”释放空间。它只读取信息，不改动任何设置。
echo.
rem Fixed drives (DriveType 3) from the system's own disk list, through
rem PowerShell: wmic is gone from current Windows 11. Windows 7 has PowerShell 2
rem without the CIM cmdlets, where Get-WmiObject asks the same. PowerShell prints
rem plain numbers only (sizes in tenths of a GB, the free share in whole per
rem cent, rounded down so "nearly full" is never hidden by rounding up) and this
rem script words them; its path holds no blank, so it needs no quotes here.
set "ps=%SystemRoot%\System32\WindowsPowerShell\v1.0\powershell.exe"
set "found=0"
if exist "%ps%" for /f "tokens=1-4" %%A in ('%ps% -NoProfile -NonInteractive -Command "$q = 'Win32_LogicalDisk'; $f = 'DriveType=3'; if (Get-Command Get-CimInstance -ErrorAction SilentlyContinue) { $d = Get-CimInstance $q -Filter $f } else { $d = Get-WmiObject $q -Filter $f }; foreach ($x in $d) { if ($x.Size -gt 0) { [string]$x.DeviceID + ' ' + [math]::Round($x.Size / 1GB * 10) + ' ' + [math]::Round($x.FreeSpace / 1GB * 10) + ' ' + [math]::Floor($x.FreeSpace * 100 / $x.Size) } }" 2^>nul') do call :show %%A %%B %%C %%D
if "%found%"=="0" (
  echo 无法读取磁盘信息：PowerShell 不可用，或者系统的磁盘信息服务
  echo （Windows Management Instrumentation）没有运行。
  echo 可以打开“此电脑”（Windows 7 为“计算机”）查看各个磁盘的剩余空间。
  goto end
)
echo.
echo 查看完成。空间不足的分区请清理或转移文件，系统盘建议至少保留 10GB。
goto end

:show
rem %1 drive ("C:"), %2 total and %3 free in tenths of a GB, %4 free share in
rem per cent.
set /a found+=1
set "drive=%1"
set /a totalWhole=%2/10, totalTenth=%2%%10, freeWhole=%3/10, freeTenth=%3%%10
echo   %drive::=% 盘：共 %totalWhole%.%totalTenth% GB，可用 %freeWhole%.%freeTenth% GB（%4%%）
if %4 lss 10 echo        【空间不足】可用空间不到一成，请尽快清理或转移文件。
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
