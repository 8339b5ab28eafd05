@echo off
chcp 936 >nul
setlocal EnableExtensions
title 重启资源管理器
echo ==========================================================
echo   重启资源管理器
echo ==========================================================
echo.
echo 本程序关闭并重新启动 Windows 资源管理器，用于任务栏、桌面图标
echo 或开始菜单失去响应的情况。
echo 注意：已打开的文件夹窗口会被关闭，不能自动恢复；其他程序不受影响。
echo.
call :ask "确定要重启资源管理器吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在关闭资源管理器……
taskkill /f /im explorer.exe >nul 2>&1
rem A short pause lets the old process end before the new one starts.
ping -n 3 127.0.0.1 >nul
echo 正在重新启动资源管理器……
start "" "%SystemRoot%\explorer.exe"
if errorlevel 1 (
  echo 启动失败：请按 Ctrl+Alt+Del 打开任务管理器，选择“文件 - 运行新任务”，输入 explorer 后回车。
) else (
  echo 完成：资源管理器已重新启动，任务栏和桌面稍后会重新出现。
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
