@echo off
chcp 936 >nul
setlocal EnableExtensions
title 系统信息摘要
echo ==========================================================
echo   系统信息摘要
echo ==========================================================
echo.
echo 本程序显示这台电脑的基本信息，向别人求助时可以提供给对方。
echo 它只读取信息，不改动任何设置。
echo.
echo 计算机名：%COMPUTERNAME%
echo 当前用户：%USERNAME%
echo 处理器：  %PROCESSOR_IDENTIFIER%
echo 处理器数：%NUMBER_OF_PROCESSORS%
echo 系统目录：%SystemRoot%
ver
echo.
echo 正在收集详细信息，请稍候……
systeminfo
if errorlevel 1 (
  echo 本系统不能显示详细信息：systeminfo 程序不可用。
  goto end
)
set "report=%USERPROFILE%\Desktop"
if not exist "%report%\" set "report=%USERPROFILE%"
echo.
call :ask "要把以上信息保存到“%report%\系统信息.txt”吗？"
if errorlevel 1 goto end
systeminfo > "%report%\系统信息.txt" 2>nul
if errorlevel 1 (
  echo 保存失败：无法写入 %report%。
) else (
  echo 完成：已保存到 %report%\系统信息.txt
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
