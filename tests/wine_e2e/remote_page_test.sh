#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine: the Remote
# Controller page with one media player installed. Discovery finds it, offers only it,
# and, as no player was chosen, makes it the power key's choice for the remote's monitor. A
# chosen player whose program cannot be found brings up the program chooser; its Cancel
# withdraws the choice.
#   tests/wine_e2e/remote_page_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-remote

remote='Remote Controller'
windvd=1027
powerdvd=1028
winamp=1029
winrip=1064
mediaplayer=1030
power_key_list=1061
windvd_folder='C:\Program Files\InterVideo\DVD4'
windvd_program='C:\Program Files\InterVideo\DVD4\WINDVD.EXE'

# The player's own entry, in the registry view of a 32-bit program as its set-up leaves it.
install_windvd() {
  wine reg add 'HKLM\SOFTWARE\InterVideo\WinDVD' /v PATH /t REG_SZ /d "$windvd_folder" /f \
    >"$e2e_logs/reg-add.out" 2>&1
}
winamp_entry='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Winamp'
# Winamp, chosen in an earlier run, has an uninstall entry with its name but without its
# command: discovery finds it, yet its program cannot be found.
choose_winamp_without_program() {
  local settings='HKLM\SOFTWARE\TALVOR\KORVEN\Filter'
  { wine reg add "$winamp_entry" /v DisplayName /t REG_SZ /d Winamp /f &&
    wine reg add "$settings" /v WinampEnable /t REG_DWORD /d 1 /f &&
    wine reg add "$settings" /v DefaultSelect /t REG_DWORD /d 3 /f; } >"$e2e_logs/reg-add.out" 2>&1
}
without_winamp_again() {
  wine reg delete "$winamp_entry" /f >"$e2e_logs/reg-delete.out" 2>&1 &&
    tab 1 Filter && tab 2 "$remote"
}
chooser='top:Select program file for one key start'
# The activation that brings up the chooser answers the tab row only once the chooser has
# closed: the tab is left waiting in the background.
tab_into_chooser() {
  wine "$probe_exe" tab "$main" 2 >"$e2e_logs/probe-tab.out" 2>&1 &
  pending_tab=$!
  probe wait "$chooser" 10000
}
# The waiting tab has come back (answered, or timed out while the chooser was up) and the
# page shows without the chooser.
chooser_gone() {
  wait "$pending_tab"
  probe gone "$chooser" 5000 && probe shown "$remote" 5000
}
# stored_text NAME TEXT: the Settings key holds the string NAME = TEXT (TEXT may be empty).
stored_text() {
  wine reg query 'HKLM\SOFTWARE\TALVOR\KORVEN\Filter' /v "$1" >"$e2e_logs/reg.out" 2>&1
  sed -i 's/\r$//' "$e2e_logs/reg.out"
  cp "$e2e_logs/reg.out" "$e2e_logs/why"
  grep -qxF "    $1    REG_SZ    $2" "$e2e_logs/reg.out" ||
    { [ -z "$2" ] && grep -qxF "    $1    REG_SZ" "$e2e_logs/reg.out"; }
}
# power_key_noted TEXT: the remote's monitor has last noted that the power key starts TEXT.
power_key_noted() {
  cp "$WINEPREFIX/drive_c/KorvenSim/calls.log" "$e2e_logs/why" 2>/dev/null || return 1
  [ "$(sed 's/\r$//' "$e2e_logs/why" | grep '^power key starts: ' | tail -n 1)" = \
    "power key starts: $1" ]
}

scenario "one player installed"
ctl reset
forget_settings
check "WinDVD's entry is in the registry" install_windvd
check "the program starts into the notification area" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "Open Setting shows the Volume page" open_settings
check "the Remote Controller tab shows its page" tab 2 "$remote"

scenario "discovery"
check "'WinDVD ' is checked and enabled" control "$remote" $windvd check=1 enabled=1 "text=WinDVD "
check "'Power DVD' is clear and disabled" control "$remote" $powerdvd check=0 enabled=0
check "'Winamp ' is clear and disabled" control "$remote" $winamp check=0 enabled=0
check "'Winrip' is clear and disabled" control "$remote" $winrip check=0 enabled=0
check "'Windows Media Player' is clear and disabled" control "$remote" $mediaplayer check=0 enabled=0
check "the power-key list shows 'WinDVD'" control "$remote" $power_key_list text=WinDVD
check "stored DefaultSelect 1" stored DefaultSelect 0x1
check "stored WinDVDEnable 1" stored WinDVDEnable 0x1
check "stored PowerDVDEnable 0" stored PowerDVDEnable 0x0
check "stored ExistMPlayer: one player, WinDVD" stored ExistMPlayer 0x10001
check "stored OneKeyStart is WinDVD's program" stored_text OneKeyStart "$windvd_program"
check "the remote's monitor notes WinDVD's program" eventually 5 power_key_noted "$windvd_program"

scenario "the box cleared, and the next activation"
check "clear 'WinDVD '" click "$remote" $windvd
check "the list shows 'Not Selected'" control "$remote" $power_key_list "text=Not Selected"
check "stores WinDVDEnable 0" stored WinDVDEnable 0x0
check "stores DefaultSelect 0" stored DefaultSelect 0x0
check "stores an empty OneKeyStart" stored_text OneKeyStart ""
check "the remote's monitor notes nothing to start" eventually 5 power_key_noted nothing
check "the Filter tab" tab 1 Filter
check "back to the Remote Controller tab" tab 2 "$remote"
check "the only player is chosen again" control "$remote" $windvd check=1 enabled=1
check "the list shows 'WinDVD' again" control "$remote" $power_key_list text=WinDVD
check "stored DefaultSelect 1 again" stored DefaultSelect 0x1
check "stored WinDVDEnable 1 again" stored WinDVDEnable 0x1
check "stored OneKeyStart is WinDVD's program again" stored_text OneKeyStart "$windvd_program"

scenario "a chosen player whose program cannot be found"
check "Winamp, the stored choice, has no uninstall command" choose_winamp_without_program
check "the Filter tab" tab 1 Filter
check "the Remote Controller tab brings up the program chooser" tab_into_chooser
check "its Cancel closes it" click "$chooser" 2
check "the Remote Controller page is back" chooser_gone
check "the list shows 'Not Selected'" control "$remote" $power_key_list "text=Not Selected"
check "stores DefaultSelect 0" stored DefaultSelect 0x0
check "stores an empty OneKeyStart" stored_text OneKeyStart ""
check "Winamp's entry removed, the next activation" without_winamp_again
check "the only player is chosen again" stored DefaultSelect 0x1

scenario "Exit"
check "Exit ends the program" close_korven
check "the stored choice is kept" stored DefaultSelect 0x1
check "no handle left open" device_state handles=0

e2e_finish
