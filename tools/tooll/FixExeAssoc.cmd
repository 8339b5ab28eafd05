@echo off
chcp 936 >nul
setlocal EnableExtensions
title 修复EXE文件关联
echo ==========================================================
echo   修复EXE文件关联
echo ==========================================================
echo.
echo 本程序把 .exe、.com、.bat、.cmd 和快捷方式的打开方式恢复成 Windows
echo 默认设置。中毒或误操作后，双击程序打不开、都用记事本打开、提示
echo “选择打开方式”时可以使用。
echo 注意：这几种文件原来的打开方式设置会被覆盖，无法撤销。
echo.
call :checkadmin
if errorlevel 1 goto noadmin
call :ask "确定要恢复这些文件的默认打开方式吗？"
if errorlevel 1 goto cancelled
echo.
set "failed="
assoc .exe=exefile >nul || set "failed=1"
ftype exefile="%%1" %%* >nul || set "failed=1"
assoc .com=comfile >nul || set "failed=1"
ftype comfile="%%1" %%* >nul || set "failed=1"
assoc .bat=batfile >nul || set "failed=1"
ftype batfile="%%1" %%* >nul || set "failed=1"
assoc .cmd=cmdfile >nul || set "failed=1"
ftype cmdfile="%%1" %%* >nul || set "failed=1"
assoc .lnk=lnkfile >nul || set "failed=1"
rem A per-user choice would override the defaults just restored.
reg delete "HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.exe" /f >nul 2>&1
if defined failed (
  echo 部分设置没有写入：请查看上面的提示后重试。
) else (
  echo 完成：这几种文件已恢复默认打开方式。
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
