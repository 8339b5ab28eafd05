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
title 同步系统时间
echo ==========================================================
echo   同步系统时间
echo ==========================================================
echo.
echo 本程序让电脑和互联网时间服务器对时。系统时间不准时，网页会提示
echo “证书错误”，部分软件也会无法登录。对时前后的时间都会显示出来。
echo 对时要用到“Windows 时间”服务，它没有运行时本程序会先启动它。
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
call :ask "确定要对时吗？"
if errorlevel 1 goto cancelled
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
call :resync
if not errorlevel 1 goto synced
rem w32tm fails alike when no server answers and when the service refuses the
rem answer because the clock is too far off (more than 15 hours on a computer
rem outside a domain, a flat CMOS battery say). Asking the server directly,
rem which changes nothing, tells the two apart.
call :measure
if not defined offsetHours goto unreachable
if %offsetHours% lss 15 goto notsynced
echo.
echo 【时间相差太大】电脑上的时间和时间服务器 %server% 相差约 %offsetText%。
echo 为了安全，Windows 时间服务不会自己调整相差 15 小时以上的时间，所以刚才
echo 没有对时成功，这不是网络的问题。常见的原因是主板上的纽扣电池没电了：
echo 如果每次开机时间都变回很早的日期，请更换主板电池。
echo 本程序可以临时放宽时间服务的这项限制，对时一次后马上恢复原来的设置。
call :ask "要临时放宽限制并对时吗？"
if errorlevel 1 goto setbyhand
call :widesync
if not errorlevel 1 goto synced
echo.
echo 【对时没有成功】放宽限制后仍然没能对时，时间没有改动。
goto handsteps

:synced
echo.
echo 完成：对时后：%date% %time%
goto end

:unreachable
echo.
echo 【没有连上时间服务器】本程序连不上时间服务器 %server%，所以没能对时。
echo 请检查网络连接；能打开网页却仍然不行时，可能是所在的网络（例如公司、学校
echo 或公共 Wi-Fi）不允许对时。也可以在“日期和时间”设置里手工调整时间。
goto end

:notsynced
echo.
echo 【对时没有成功】时间服务器 %server% 能连上，电脑上的时间和它相差约
echo %offsetText%，但 Windows 时间服务没有调整时间。请重新启动电脑后再运行一次
echo 本程序；仍然不行时，可以在“日期和时间”设置里手工调整时间。
goto end

:setbyhand
echo.
echo 没有放宽限制，时间没有改动。
:handsteps
echo 请先手工把日期和时间改到大致正确（相差几分钟也可以），再运行一次本程序：
echo   Windows 10/11：在“设置 → 时间和语言 → 日期和时间”中关闭“自动设置时间”，
echo   点“手动设置日期和时间”旁的“更改”，改好后再打开“自动设置时间”；
echo   Windows 7：单击任务栏右下角的时间，选择“更改日期和时间设置”。
goto end

:resync
rem A service that has just started may not know its server yet: /rediscover
rem looks it up again.
w32tm /resync
if not errorlevel 1 exit /b 0
w32tm /resync /rediscover
if errorlevel 1 exit /b 1
exit /b 0

:measure
rem Sets "server" to the first server the service asks (its value without the
rem ",0x9" flags, or the one Windows comes with) and, when that server answers,
rem "offsetHours" and "offsetText" to how far off the clock is. w32tm prints the
rem sample as "time, +54012.3456789s" (or "time, error: 0x800705B4").
set "server=" & set "servers=" & set "offset=" & set "offsetHours="
for /f "tokens=2,*" %%A in ('reg query "HKLM\SYSTEM\CurrentControlSet\Services\W32Time\Parameters" /v NtpServer 2^>nul ^| "%find%" "REG_"') do set "servers=%%B"
if defined servers for /f "tokens=1 delims=, " %%S in ("%servers%") do set "server=%%S"
if not defined server set "server=time.windows.com"
for /f "tokens=2 delims=," %%O in ('w32tm /stripchart /computer:%server% /samples:1 /dataonly 2^>nul') do set "offset=%%O"
if not defined offset exit /b 0
set "offset=%offset: =%"
for /f "delims=." %%S in ("%offset%") do set "offset=%%S"
set "sign=%offset:~0,1%"
set "seconds=%offset:~1%"
if not "%sign%"=="+" if not "%sign%"=="-" exit /b 0
rem Only digits are a number of seconds. Leading zeros would make set /a read
rem it as octal; over nine digits (more than 30 years) is capped to stay within
rem its 32 bits.
if not defined seconds exit /b 0
for /f "delims=0123456789" %%X in ("%seconds%") do exit /b 0
for /f "tokens=* delims=0" %%D in ("%seconds%") do set "seconds=%%D"
if not "%seconds:~9%"=="" set "seconds=999999999"
set /a "seconds=seconds, offsetHours=seconds / 3600, offsetDays=seconds / 86400"
set "offsetText=%offsetHours% 小时"
if %offsetHours% equ 0 set "offsetText=%seconds% 秒"
if %offsetDays% geq 2 set "offsetText=%offsetDays% 天"
exit /b 0

:widesync
rem Lifts the service's limit on how far it moves the clock, resyncs, and puts
rem the limit back as it was: the value it had, or no value where there was none.
set "config=HKLM\SYSTEM\CurrentControlSet\Services\W32Time\Config"
set "oldPos=" & set "oldNeg="
for /f "tokens=3" %%V in ('reg query "%config%" /v MaxPosPhaseCorrection 2^>nul ^| "%find%" "REG_DWORD"') do set "oldPos=%%V"
for /f "tokens=3" %%V in ('reg query "%config%" /v MaxNegPhaseCorrection 2^>nul ^| "%find%" "REG_DWORD"') do set "oldNeg=%%V"
reg add "%config%" /v MaxPosPhaseCorrection /t REG_DWORD /d 0xFFFFFFFF /f >nul 2>&1
reg add "%config%" /v MaxNegPhaseCorrection /t REG_DWORD /d 0xFFFFFFFF /f >nul 2>&1
w32tm /config /update >nul 2>&1
call :resync
set "result=%errorlevel%"
set "restored=1"
call :putback MaxPosPhaseCorrection "%oldPos%"
call :putback MaxNegPhaseCorrection "%oldNeg%"
w32tm /config /update >nul 2>&1
if "%restored%"=="0" (
  echo.
  echo 【注意】时间服务原来的限制没能恢复：请以管理员身份再运行一次本程序，
  echo 或重新启动电脑后再运行。
)
exit /b %result%

:putback
if "%~2"=="" (
  reg delete "%config%" /v %1 /f >nul 2>&1
) else (
  reg add "%config%" /v %1 /t REG_DWORD /d %~2 /f >nul 2>&1
)
if errorlevel 1 set "restored=0"
exit /b 0

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
endlocal & if not "%consoleCodePage%"=="" chcp %consoleCodePage% >nul
exit /b
