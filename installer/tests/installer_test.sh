#!/usr/bin/env bash
# Test of the setup program under Wine, in a fresh 64-bit prefix with the simulated KORVEN:
# silent installs (with and without the device's libraries in the folder), the start at
# sign-in, a reinstall and an uninstall while the program runs, an interactive install whose
# finish page starts the program through the desktop's shell, and the bad cases (a second
# setup, a program that does not end, a folder that cannot be written, uninstalling twice).
#   installer/tests/installer_test.sh [BUILD_DIR]   (default: build/windows-i686, with the
#                                                    target installer built)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder, a display, the prefix, korvenctl and the window probe: as the end-to-end
# tests of the program have them.
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/wine_e2e/e2e_common.sh"
e2e_begin "$build" wine-installer

setup_built="$(ls -t "$build"/installer/KORVEN-*-setup.exe 2>/dev/null | head -n 1)"
check "the setup program is built" test -n "$setup_built"
[ "$failed" -eq 0 ] || e2e_finish
setup_name="$(basename "$setup_built")"
version="${setup_name#KORVEN-}"
version="${version%-setup.exe}"
drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/KorvenSetup"
cp "$setup_built" "$build/installer/korven_setup_check.exe" "$drive_c/KorvenSetup/"
setup='C:\KorvenSetup\'"$setup_name"
# The pages' empty subcaption leaves a space at the end of the window's text.
setup_caption="top:KORVEN Control Panel $version Setup "

folder='C:\Program Files (x86)\TALVOR\KORVEN'
folder_unix="$drive_c/Program Files (x86)/TALVOR/KORVEN"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KORVEN Control Panel.lnk"
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVEN'
settings_key='HKLM\SOFTWARE\TALVOR\KORVEN\Filter'
temp="$(ls -d "$drive_c"/users/*/Temp "$drive_c"/users/*/AppData/Local/Temp 2>/dev/null |
  grep -v /Public/ | head -n 1)"

# helper ARGS...: korven_setup_check; its output in $e2e_logs/helper.out.
helper() { run_logged helper 'C:\KorvenSetup\korven_setup_check.exe' "$@"; }
# silent EXPECTED_EXIT PROGRAM ARGS...: the program, with exactly those arguments, ends with
# that exit code.
silent() {
  local expected="$1"
  shift
  helper run 120000 "$@"
  grep -qx "exit $expected" "$e2e_logs/helper.out"
}
# logged FILE TEXT: the setup's (or uninstaller's) log in %TEMP% has a line with TEXT.
logged() {
  local log="$temp/$1"
  { echo "$log:"; cat "$log"; } >"$e2e_logs/why" 2>&1
  tr -d '\r' <"$log" | grep -qF -- "$2"
}
# reg32 KEY VALUE [TYPE DATA]: the 32-bit view has the value (with that type and data), read
# by the prefix's own reg; reg64: the same in the 64-bit view.
reg_view() {
  local view="$1" key="$2" value="$3"
  shift 3
  "$(korvensim_native_wine)" reg query "$key" /v "$value" "$view" >"$e2e_logs/reg.out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$e2e_logs/reg.out"
  cp "$e2e_logs/reg.out" "$e2e_logs/why"
  [ $status -eq 0 ] || return 1
  [ $# -eq 0 ] || grep -qxF "    $value    $1    $2" "$e2e_logs/reg.out"
}
reg32() { reg_view /reg:32 "$@"; }
reg64() { reg_view /reg:64 "$@"; }
korven_runs() { helper running korven.exe; }
same_program() { cmp "$build/app/korven.exe" "$1/korven.exe" >"$e2e_logs/why" 2>&1; }
inode() { stat -c %i "$folder_unix/korven.exe" 2>/dev/null; }
# Nothing of an installation is in the registry or the Start menu.
nothing_registered() {
  ! reg32 "$run_key" KORVEN && ! reg32 "$uninstall_key" DisplayName && [ ! -e "$shortcut" ]
}

scenario "the setup program's own file"
check "it asks for elevation" grep -aq 'level="requireAdministrator"' "$setup_built"
check "its version resource is $version, as its name says" \
  eval "helper version '$setup' && grep -qx 'version $version.0 text $version' '$e2e_logs/helper.out'"
check "and korven.exe's is the same" \
  eval "helper version 'C:\\KORVEN\\korven.exe' && grep -qx 'version $version.0 text $version' '$e2e_logs/helper.out'"

scenario "silent install into a folder without the device's libraries, uninstalled twice"
check "setup /S /D=C:\\Bare ends with 0" silent 0 "$setup" /S '/D=C:\Bare'
check "korven.exe is the built one" same_program "$drive_c/Bare"
check "the log names both missing libraries" logged KORVEN-setup.log \
  "The device's libraries \"Zelfilter.dll\" and \"hidrctrl.dll\" are not in C:\\Bare."
check "a silent install starts nothing" eval '! korven_runs'
check "uninstall /S ends with 0" silent 0 'C:\Bare\uninstall.exe' /S '_?=C:\Bare'
check "korven.exe is gone" test ! -e "$drive_c/Bare/korven.exe"
check "the Run value, the entry and the shortcut are gone" nothing_registered
check "a second uninstall ends with 6" silent 6 'C:\Bare\uninstall.exe' /S '_?=C:\Bare'
check "and says why" logged KORVEN-uninstall.log "KORVEN is not installed in C:\\Bare (any more)"
rm -rf "$drive_c/Bare"

scenario "silent install beside the device's libraries"
mkdir -p "$folder_unix"
cp "$drive_c/KORVEN/Zelfilter.dll" "$drive_c/KORVEN/hidrctrl.dll" "$folder_unix/"
# Settings of an earlier installation: filter on, 2.1, 450 Hz, front left +6 dB.
forget_settings
for value in EnableFilter=1 OutputMode=0 BassOutputMode=2 VolumeL=0x40000000; do
  wine reg add "$settings_key" /v "${value%%=*}" /t REG_DWORD /d "${value#*=}" /f \
    >"$e2e_logs/reg-add.out" 2>&1
done
check "setup /S ends with 0" silent 0 "$setup" /S
check "korven.exe is the built one" same_program "$folder_unix"
check "the uninstaller is there" test -f "$folder_unix/uninstall.exe"
check "the log says where, and misses no library" \
  eval "logged KORVEN-setup.log 'KORVEN $version is installed in $folder.' && ! logged KORVEN-setup.log 'are not in'"
check "the Run value, quoted, in the 32-bit view" reg32 "$run_key" KORVEN REG_SZ "\"$folder\\korven.exe\""
check "and not in the 64-bit one" eval "! reg64 '$run_key' KORVEN"
check "the all-users Start menu shortcut to korven.exe" \
  eval "test -f '$shortcut' && grep -aq 'korven.exe' '$shortcut'"
size_kb=$((($(stat -c %s "$folder_unix/korven.exe") + $(stat -c %s "$folder_unix/uninstall.exe") + 1023) / 1024))
while IFS='|' read -r value type data; do
  check "uninstall entry $value" reg32 "$uninstall_key" "$value" "$type" "$data"
done <<ENTRY
DisplayName|REG_SZ|KORVEN Control Panel
DisplayVersion|REG_SZ|$version
Publisher|REG_SZ|TALVOR
DisplayIcon|REG_SZ|"$folder\\korven.exe",0
InstallLocation|REG_SZ|$folder
EstimatedSize|REG_DWORD|$(printf '0x%x' "$size_kb")
UninstallString|REG_SZ|"$folder\\uninstall.exe"
QuietUninstallString|REG_SZ|"$folder\\uninstall.exe" /S
NoModify|REG_DWORD|0x1
NoRepair|REG_DWORD|0x1
ENTRY
check "a silent install starts nothing" eval '! korven_runs'

scenario "started as the Run value says, at sign-in"
ctl reset
check "the Run value's command starts" helper start-run-value KORVEN
check "korven.exe is up in the notification area" eval "probe wait '$main' 30000 && probe hidden '$main' 5000"
check "with the device's icon ($menu_closed)" tray_icon $menu_closed
check "the stored settings are pushed" requests <<'LOG'
IOCTL_SET_GAIN_L 2
IOCTL_SET_GAIN_R 1
IOCTL_SET_GAIN_C 1
IOCTL_SET_GAIN_LFE 1
IOCTL_SET_GAIN_RL 1
IOCTL_SET_GAIN_RR 1
IOCTL_FILTER_ON
IOCTL_OUTPUT_2_1
IOCTL_SET_BASS_MODE 40 27 67
LOG

scenario "reinstall over the running copy"
old_inode="$(inode)"
ctl clear-log
check "setup /S ends with 0" silent 0 "$setup" /S
check "the log says it ended KORVEN" logged KORVEN-setup.log "KORVEN is running: ending it through its Exit command."
check_exit_reset
check "no korven.exe runs" eval '! korven_runs'
check "a new korven.exe is in place" eval "[ '$(inode)' != '$old_inode' ] && same_program '$folder_unix'"

scenario "a program that does not end in time"
wine 'C:\KorvenSetup\korven_setup_check.exe' hang 'KORVEN: Control Panel' 60 \
  >"$e2e_logs/hang.out" 2>&1 &
hang_pid=$!
check "a hung window with the program's caption" eventually 10 grep -q hanging "$e2e_logs/hang.out"
old_inode="$(inode)"
check "setup /S ends with 5" silent 5 "$setup" /S
check "and says nothing was changed" logged KORVEN-setup.log \
  "KORVEN is still running, so nothing was changed."
check "korven.exe is untouched, no new one left beside it" \
  eval "[ '$(inode)' = '$old_inode' ] && [ ! -e '$folder_unix/korven.exe.new' ]"
check "uninstall /S ends with 5 too" silent 5 "$folder\\uninstall.exe" /S "_?=$folder"
check "and removes nothing" \
  eval "[ -f '$folder_unix/korven.exe' ] && reg32 '$run_key' KORVEN && reg32 '$uninstall_key' DisplayName && [ -f '$shortcut' ]"
kill "$hang_pid" 2>/dev/null
wait "$hang_pid" 2>/dev/null
probe gone "$main" 5000

scenario "interactive install; a second setup meanwhile"
wine "$setup" >"$e2e_logs/setup-interactive.out" 2>&1 &
setup_pid=$!
check "the setup window shows" probe wait "$setup_caption" 30000
check "its folder page proposes the installed folder" \
  eval "helper page '${setup_caption#top:}' && grep -qF 'text=$folder' '$e2e_logs/helper.out'"
check "a second setup /S ends with 3" silent 3 "$setup" /S
check "and says why" logged KORVEN-setup.log "Another KORVEN Setup or Uninstall is running."
check "an uninstall /S meanwhile ends with 3" silent 3 "$folder\\uninstall.exe" /S "_?=$folder"
check "Install" click "$setup_caption" 1
finish_page() {
  helper page "${setup_caption#top:}" &&
    grep -q "check=1 text=Start KORVEN now\$" "$e2e_logs/helper.out"
}
check "the finish page offers 'Start KORVEN now', checked" eventually 30 finish_page
check "and says nothing is missing" eval "grep -q 'has been installed' '$e2e_logs/helper.out' && ! grep -q 'are not in' '$e2e_logs/helper.out'"
check "screenshot of the finish page" screenshot setup-finish "$setup_caption"
ctl reset
check "Finish" click "$setup_caption" 1
check "setup ends with 0" eval "wait $setup_pid"
check "korven.exe comes up in the notification area" eval "probe wait '$main' 30000 && probe hidden '$main' 5000"
check "started by the desktop's shell, not by setup" \
  eval "helper parent korven.exe && grep -qix 'parent explorer.exe' '$e2e_logs/helper.out'"
check "it takes up the device" eventually 5 device_state filter=on

scenario "silent uninstall while the program runs"
ctl clear-log
# As the uninstall entry says: the uninstaller hands over to a copy of itself and returns.
check "uninstall /S (the entry's QuietUninstallString)" silent 0 "$folder\\uninstall.exe" /S
check "korven.exe and the uninstaller are removed" \
  eventually 30 eval "[ ! -e '$folder_unix/korven.exe' ] && [ ! -e '$folder_unix/uninstall.exe' ]"
check "the log says so" eventually 5 logged KORVEN-uninstall.log "KORVEN is removed from $folder; its settings are kept."
check_exit_reset
check "no korven.exe runs" eval '! korven_runs'
check "the Run value, the entry and the shortcut are gone" nothing_registered
check "the device's libraries stay" test -f "$folder_unix/Zelfilter.dll" -a -f "$folder_unix/hidrctrl.dll"
check "so does the folder, with nothing else in it" \
  eval "[ \"\$(ls '$folder_unix' | tr '\n' ' ')\" = 'Zelfilter.dll hidrctrl.dll ' ]"
check "the settings are kept" stored BassOutputMode 0x2

scenario "interactive install into a folder without the device's libraries"
wine "$setup" '/D=C:\Bare' >"$e2e_logs/setup-bare.out" 2>&1 &
setup_pid=$!
check "the setup window shows" probe wait "$setup_caption" 30000
check "Install" click "$setup_caption" 1
check "the finish page" eventually 30 finish_page
check "says which libraries are missing" grep -qF \
  "The device's libraries \"Zelfilter.dll\" and \"hidrctrl.dll\" are not in this folder." "$e2e_logs/helper.out"
check "screenshot of that finish page" screenshot setup-finish-missing "$setup_caption"
run_box="$(sed -n 's/^control id=\([0-9]*\) .*text=Start KORVEN now$/\1/p' "$e2e_logs/helper.out")"
check "'Start KORVEN now' cleared" eval "helper page-click '${setup_caption#top:}' '$run_box' &&
  helper page '${setup_caption#top:}' && grep -q 'check=0 text=Start KORVEN now\$' '$e2e_logs/helper.out'"
check "Finish" click "$setup_caption" 1
check "setup ends with 0" eval "wait $setup_pid"
check "and starts nothing" eval '! korven_runs'
check "its uninstall leaves nothing" eval "silent 0 'C:\\Bare\\uninstall.exe' /S && eventually 30 test ! -e '$drive_c/Bare'"

scenario "a folder that cannot be written"
touch "$drive_c/Blocked"  # a file where the folder would be
check "setup /S /D=C:\\Blocked\\KORVEN ends with 4" silent 4 "$setup" /S '/D=C:\Blocked\KORVEN'
check "and says why" logged KORVEN-setup.log "Setup cannot write to the folder C:\\Blocked\\KORVEN, so nothing was installed."
check "nothing is registered" nothing_registered

e2e_finish
