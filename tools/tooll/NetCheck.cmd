@echo off
chcp 936 >nul
setlocal EnableExtensions
title 网络连通检测
echo ==========================================================
echo   网络连通检测
echo ==========================================================
echo.
echo 本程序依次检查本机网络协议、外部网络和域名解析，帮助判断网络
echo 故障出在哪一环。它只发送测试数据，不改动任何设置。
echo.
echo [1/3] 检查本机网络协议……
ping -n 2 127.0.0.1 | find "TTL=" >nul
if errorlevel 1 (
  echo       异常：本机协议不通，可以试试“重置TCP/IP协议”。
) else (
  echo       正常。
)
echo [2/3] 检查外部网络……
ping -n 2 -w 3000 114.114.114.114 | find "TTL=" >nul
if errorlevel 1 (
  echo       不通：请检查网线、无线连接和路由器，或试试“重新获取IP地址”。
) else (
  echo       正常。
)
echo [3/3] 检查域名解析……
ping -n 1 -w 3000 www.baidu.com | find "[" >nul
if errorlevel 1 (
  echo       失败：网址无法解析，可以试试“刷新DNS缓存”或“重置Winsock目录”。
) else (
  echo       正常。
)
echo.
echo 检测完成。
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
