@echo off
chcp 936 >nul
setlocal EnableExtensions
title 重置打印服务
echo ==========================================================
echo   重置打印服务
echo ==========================================================
echo.
echo 本程序重新启动打印后台处理服务，并清除卡住的打印任务，用于打印
echo 任务一直“正在打印”、删不掉或者打印机没有反应的情况。
echo 注意：所有还没打印完的任务都会被删除，无法恢复，需要重新打印。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要清除打印任务并重启打印服务吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在停止打印服务……
rem /y: services that depend on the spooler stop too, without a question.
net stop spooler /y >nul 2>&1
ping -n 2 127.0.0.1 >nul
echo 正在清除打印任务……
if exist "%SystemRoot%\System32\spool\PRINTERS\" del /f /q "%SystemRoot%\System32\spool\PRINTERS\*.*" >nul 2>&1
echo 正在启动打印服务……
net start spooler
if errorlevel 1 (
  echo.
  echo 打印服务没有启动：请重新启动电脑后再试。
) else (
  echo.
  echo 完成：打印任务已清除，打印服务已重新启动，请重新打印。
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
