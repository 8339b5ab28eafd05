@echo off
chcp 936 >nul
setlocal EnableExtensions
title 同步系统时间
echo ==========================================================
echo   同步系统时间
echo ==========================================================
echo.
echo 本程序让电脑和互联网时间服务器对时。系统时间不准时，网页会提示
echo “证书错误”，部分软件也会无法登录。对时前后的时间都会显示出来。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
echo 对时前：%date% %time%
echo 正在启动 Windows 时间服务……
net start w32time >nul 2>&1
echo 正在对时……
w32tm /resync
if errorlevel 1 w32tm /resync /rediscover
if errorlevel 1 (
  echo.
  echo 对时失败：请检查网络连接，或在“日期和时间”设置里手工调整。
) else (
  echo.
  echo 完成：对时后：%date% %time%
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
