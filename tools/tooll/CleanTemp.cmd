@echo off
chcp 936 >nul
setlocal EnableExtensions
title 清理临时文件
echo ==========================================================
echo   清理临时文件
echo ==========================================================
echo.
echo 本程序删除临时文件夹中的文件，释放磁盘空间。临时文件是程序运行
echo 时留下的，删除后不会影响已安装的软件；正在使用的文件会被跳过。
echo 注意：删除后无法恢复，请先关闭正在运行的其他程序。
echo.
call :checktemp "%TEMP%"
if errorlevel 1 goto badtemp
echo 将要清理：%TEMP%
call :ask "确定要删除这个文件夹里的临时文件吗？"
if errorlevel 1 goto cancelled
call :clean "%TEMP%"
call :checkadmin
if errorlevel 1 goto end
call :checktemp "%SystemRoot%\Temp"
if errorlevel 1 goto end
echo.
echo 还可以清理系统临时文件夹：%SystemRoot%\Temp
call :ask "要一并清理系统临时文件夹吗？"
if errorlevel 1 goto end
call :clean "%SystemRoot%\Temp"
goto end

:badtemp
echo 临时文件夹“%TEMP%”不存在，或者看起来不是专用的临时文件夹，
echo 为安全起见本程序不做清理，没有删除任何文件。
goto end

:checktemp
rem Only a folder that exists and has a "Temp" or "Tmp" folder in its path. The
rem test cuts "\temp\" out of the path (case does not matter) and sees whether
rem anything was cut.
if "%~1"=="" exit /b 1
if not exist "%~1\" exit /b 1
set "probe=\%~1\"
set "rest=%probe:\temp\=%"
if not "%rest%"=="%probe%" exit /b 0
set "rest=%probe:\tmp\=%"
if not "%rest%"=="%probe%" exit /b 0
exit /b 1

:clean
echo.
echo 正在清理 %~1 ……
del /f /s /q /a "%~1\*" >nul 2>&1
rem Sub-folders by their full path, listed by dir: never relative to the current folder.
for /f "delims=" %%D in ('dir /ad /b "%~1" 2^>nul') do rd /s /q "%~1\%%D" >nul 2>&1
set "left=0"
for /f "delims=" %%N in ('dir /a /b "%~1" 2^>nul') do set /a left+=1
echo 完成：%~1 已清理，仍有 %left% 项正在被程序使用，已跳过。
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
echo Windows XP 用户请用管理员账户登录后再运行。
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
