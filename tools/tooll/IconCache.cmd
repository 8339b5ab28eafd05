@echo off
chcp 936 >nul
setlocal EnableExtensions
title 重建图标缓存
echo ==========================================================
echo   重建图标缓存
echo ==========================================================
echo.
echo 本程序删除系统保存的图标缓存，让 Windows 重新生成。桌面或文件夹
echo 里的图标显示成白板、显示错误时可以使用。
echo 注意：执行时资源管理器会短暂关闭，已打开的文件夹窗口会被关闭；
echo 删除的只是缓存文件，系统会自动重建，第一次打开文件夹会稍慢。
echo.
call :ask "确定要重建图标缓存吗？"
if errorlevel 1 goto cancelled
if not defined LOCALAPPDATA set "LOCALAPPDATA=%USERPROFILE%\Local Settings\Application Data"
echo.
echo 正在关闭资源管理器……
taskkill /f /im explorer.exe >nul 2>&1
ping -n 3 127.0.0.1 >nul
echo 正在删除图标缓存……
if exist "%LOCALAPPDATA%\IconCache.db" del /a /f /q "%LOCALAPPDATA%\IconCache.db"
if exist "%LOCALAPPDATA%\Microsoft\Windows\Explorer\" del /a /f /q "%LOCALAPPDATA%\Microsoft\Windows\Explorer\iconcache*.db" >nul 2>&1
echo 正在重新启动资源管理器……
start "" "%SystemRoot%\explorer.exe"
echo.
echo 完成：图标缓存已删除。如果图标仍不正常，请重新启动电脑。
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
