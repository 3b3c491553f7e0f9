@echo off
rem Removes what install_sim.cmd installed. Run as administrator.
sc stop KorvenSim
sc delete KorvenSim
reg delete "HKLM\SOFTWARE\KORVEN Simulation" /f /reg:64 2>nul
del /q "%SystemRoot%\System32\drivers\korvensim.sys" 2>nul
rmdir /s /q "C:\KORVEN" 2>nul
rmdir /s /q "C:\KorvenSim" 2>nul
echo KORVEN simulation removed.
