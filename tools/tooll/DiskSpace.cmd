@echo off
chcp 936 >nul
setlocal EnableExtensions
title 查看磁盘空间
echo ==========================================================
echo   查看磁盘空间
echo ==========================================================
echo.
echo 本程序列出每个磁盘分区的剩余空间。系统盘剩余空间太少时，电脑会
echo 变慢、无法安装更新，可以用“清理临时文件”释放空间。
echo 它只读取信息，不改动任何设置。
echo.
rem A and B are floppy drives: probing an empty one can stop with a dialog.
rem "X:\*" rather than "X:\": some command processors find no bare root.
for %%D in (C D E F G H I J K L M N O P Q R S T U V W X Y Z) do if exist "%%D:\*" call :show %%D
echo.
echo 查看完成。
goto end

:show
set "free=无法读取"
for /f "tokens=*" %%L in ('dir /-c "%1:\" 2^>nul') do set "free=%%L"
echo   %1 盘：%free%
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
