@echo off
rem Installs the simulated KORVEN on a Windows test machine, from a folder holding
rem korven.exe, Zelfilter.dll, hidrctrl.dll, korvenctl.exe and the korvensim.sys that
rem matches the system's processor. Run as administrator. 64-bit Windows loads only signed
rem drivers: sign the driver with a test certificate and turn test signing on first.
setlocal
set from=%~dp0
mkdir "C:\KORVEN" 2>nul
mkdir "C:\KorvenSim" 2>nul
if exist "%from%korven.exe" copy /y "%from%korven.exe" "C:\KORVEN\" >nul
copy /y "%from%Zelfilter.dll" "C:\KORVEN\" >nul || goto failed
copy /y "%from%hidrctrl.dll" "C:\KORVEN\" >nul || goto failed
copy /y "%from%korvenctl.exe" "C:\KorvenSim\" >nul || goto failed
copy /y "%from%korvensim.sys" "%SystemRoot%\System32\drivers\" >nul || goto failed
sc create KorvenSim type= kernel start= auto binPath= "%SystemRoot%\System32\drivers\korvensim.sys" || goto failed
sc start KorvenSim || goto failed
"C:\KorvenSim\korvenctl.exe" wait-driver 10000 || goto failed
echo KORVEN simulation installed.
exit /b 0
:failed
echo Installation failed.
exit /b 1
