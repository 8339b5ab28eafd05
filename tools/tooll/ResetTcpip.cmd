@echo off
chcp 936 >nul
setlocal EnableExtensions
title 重置TCP/IP协议
echo ==========================================================
echo   重置TCP/IP协议
echo ==========================================================
echo.
echo 本程序把 TCP/IP 协议的设置恢复为安装系统时的状态，用于网络连接
echo 显示正常却无法上网、总是获取不到地址等情况。
echo.
echo 注意：手工设置过的固定 IP 地址、网关和 DNS 服务器会被清除，需要
echo 重新填写；这一步无法撤销。重置后需要重新启动电脑。
echo 重置日志保存在：%TEMP%\kelvane_ipreset.log
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要重置 TCP/IP 协议吗？"
if errorlevel 1 goto cancelled
echo.
echo 正在重置 TCP/IP 协议……
netsh int ip reset "%TEMP%\kelvane_ipreset.log"
if errorlevel 1 (
  echo.
  echo 重置失败：系统拒绝了这项操作，请查看上面的提示和日志文件。
) else (
  echo.
  echo 完成：TCP/IP 协议已恢复默认。请保存好工作，然后重新启动电脑。
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
