@echo off
rem A 32-bit program on 64-bit Windows starts the 32-bit command processor, which
rem sees another System32 (sfc, for one, cannot work there): run this script in
rem the 64-bit command processor instead.
rem Not in a bracketed block: a ")" in the script's path, as in "Program Files
rem (x86)", would end the block early.
if not defined PROCESSOR_ARCHITEW6432 goto ready
if not exist "%SystemRoot%\Sysnative\cmd.exe" goto ready
"%SystemRoot%\Sysnative\cmd.exe" /c ""%~f0""
exit /b
:ready
rem Programs are called by name, and the current folder is searched first: work
rem from the system folder, so that a program of the same name planted in the
rem folder this was started from never runs with administrator rights.
cd /d "%SystemRoot%\System32"
if /i not "%cd%"=="%SystemRoot%\System32" exit /b 1
setlocal EnableExtensions
rem The texts below are GBK, shown in code page 936; the console gets its own
rem code page back at the end. chcp answers with it as the last word, followed
rem by a full stop in some languages.
set "consoleCodePage="
for /f "delims=" %%L in ('chcp') do set "consoleCodePage=%%L"
:lastword
if defined consoleCodePage if not "%consoleCodePage: =%"=="%consoleCodePage%" set "consoleCodePage=%consoleCodePage:* =%" & goto lastword
if defined consoleCodePage for /f "delims=." %%N in ("%consoleCodePage%") do set "consoleCodePage=%%N"
chcp 936 >nul
title 查看HOSTS文件
echo ==========================================================
echo   查看HOSTS文件
echo ==========================================================
echo.
echo 本程序列出 HOSTS 文件中生效的记录。恶意软件常在这里把网址指向
echo 错误的地址，使网站打不开或被劫持。它只读取文件，不做任何修改。
echo.
set "hosts=%SystemRoot%\System32\drivers\etc\hosts"
if not exist "%hosts%" (
  echo 没有找到 HOSTS 文件，系统会直接查询 DNS，这是正常的。
  goto end
)
echo 文件位置：%hosts%
echo 生效的记录（以 # 开头的说明行已略去）：
echo ----------------------------------------------------------
set "count=0"
for /f "usebackq eol=# tokens=*" %%L in ("%hosts%") do (
  echo   %%L
  set /a count+=1 >nul
)
echo ----------------------------------------------------------
call :summary
goto end

:summary
if "%count%"=="0" (
  echo 没有生效的记录，HOSTS 文件是干净的。
) else (
  echo 共 %count% 条记录。除了 127.0.0.1 localhost 和 ::1 localhost 外，
  echo 如果有不认识的网址，可以请懂电脑的朋友帮忙检查。
)
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
echo 也可以用管理员身份运行 Kelvane，再从“维护工具”启动本程序。
goto end

:cancelled
echo.
echo 已取消，本程序没有做任何更改。
goto end

:end
echo.
echo 按任意键关闭本窗口……
pause >nul
endlocal & if not "%consoleCodePage%"=="" chcp %consoleCodePage% >nul
exit /b
