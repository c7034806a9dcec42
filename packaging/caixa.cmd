@echo off
rem The till, Caixa da Lanchonete: one customer's order after another, each
rem in a console window of its own (start /wait), as a double click gives
rem it, so that the amount due stays there until Enter. Closing this window
rem stops the till.
rem
rem Ctrl+C in an order's window, or closing that window, drops that order
rem only, and the next comes at once. Any other end (the program deleted,
rem blocked, or failing) is said here, and the next try waits 10 s, so that
rem the till never spins.
rem
rem The texts are plain ASCII: cmd reads this file in the console's code
rem page, which is not the same on every Windows.
setlocal
echo Um pedido depois do outro, cada cliente na sua janela.
echo Para encerrar o caixa, feche esta janela.
:next
start "Pedido da Lanchonete" /wait "%~dp0snack-order.exe"
rem 0: an order taken; -1073741510 (STATUS_CONTROL_C_EXIT): Ctrl+C, or
rem its window closed.
if "%errorlevel%"=="0" goto next
if "%errorlevel%"=="-1073741510" goto next
echo.
echo O snack-order.exe parou com erro %errorlevel%, ou nem chegou a abrir.
echo Nova tentativa em 10 segundos. Para encerrar o caixa, feche esta janela.
timeout /t 10 /nobreak > nul
goto next
