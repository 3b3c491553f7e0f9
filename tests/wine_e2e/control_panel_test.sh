#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine, from the tray:
# the menu, the settings' pages, a Volume trim and its Reset, the Speaker Test and About
# windows, the 5.1 warning answered No, and the device pulled out while the settings are
# shown and plugged back. With KORVEN_SCREENSHOTS=DIR set, leaves pictures of every window.
#   tests/wine_e2e/control_panel_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-panel

slider_r=1020
reset_r=1079
enable_filter=1048
# page_shown TEXT: the settings show the page with that caption.
page_shown() {
  probe dump "$main" && grep -q "^control id=0 class=#32770 visible=1 .* text=$1\$" "$e2e_logs/probe.out"
}

scenario "start: in the notification area"
ctl reset
forget_settings
check "the program starts, hidden" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "the tray icon is the device's ($menu_closed)" tray_icon $menu_closed
check "a click on another icon id opens nothing" \
  eval "probe post '$main' $tray_notify $menu_nodevice 0x204 && ! probe menu 1000"

scenario "Open Setting from the tray menu"
check "Down, Return chooses Open Setting" tray_menu $menu_closed down return
check "the settings show" probe shown "$main" 5000
check "on the Volume page" eventually 2 page_shown Volume
check "the tray icon is the open one ($menu_open)" tray_icon $menu_open
check "screenshot of the Volume page" screenshot volume-page "$main"

scenario "a Volume trim"
ctl clear-log
check "R dragged to the top" probe slider Volume $slider_r 0
check "sends gain 10 for R" eventually 3 requests <<<"IOCTL_SET_GAIN_R 10"
check "stores VolumeR 10.0" stored VolumeR 0x41200000
ctl clear-log
check "R's Reset" click Volume $reset_r
check "sends gain 1 for R" requests <<<"IOCTL_SET_GAIN_R 1"
check "stores VolumeR 1.0" stored VolumeR 0x3f800000
check "the slider is back in the middle" control Volume $slider_r pos=20

scenario "the other pages"
check "the Filter tab" tab 1 Filter
check "screenshot of the Filter page" screenshot filter-page "$main"
check "the Remote Controller tab" tab 2 "Remote Controller"
check "screenshot of the Remote Controller page" screenshot remote-page "$main"
check "the About tab" eval "probe tab '$main' 3 && page_shown About"
check "screenshot of the About page" screenshot about-page "$main"
check "the remote's message selects the Remote Controller page" \
  eval "probe post '$main' $remote_page_message 0 0 && eventually 2 page_shown 'Remote Controller'"
check "Close Setting hides the settings" close_settings
check "the tray icon is the closed one again" tray_icon $menu_closed

scenario "Speaker Test and About"
check "Test Speaker shows the Speaker Test" eval "command 32775 && probe shown '$speaker_test' 5000"
check "screenshot of the Speaker Test" screenshot speaker-test "$speaker_test"
check "its Exit hides it" eval "click '$speaker_test' $speaker_exit && probe hidden '$speaker_test' 5000"
check "About shows the About box" eval "command 32776 && probe shown 'top:About' 5000"
check "screenshot of the About box" screenshot about-box "top:About"
check "OK hides it" eval "click 'top:About' 1 && probe hidden 'top:About' 5000"

scenario "a 5.1 source with the filter on, answered No"
ctl clear-log
ctl source 5.1
check "the warning" probe wait "top:KORVEN : WARNING" 5000
check "asks 'Are you sure you want to activate TALVOR filter?'" \
  eval "probe dump 'top:KORVEN : WARNING' && grep -q 'Are you sure you want to activate TALVOR filter?' '$e2e_logs/probe.out'"
check "No answers it" click "top:KORVEN : WARNING" 7
check "the warning goes" probe gone "top:KORVEN : WARNING" 5000
check "the filter goes off" eventually 2 requests <<<"IOCTL_FILTER_OFF"
check "stores EnableFilter 0" stored EnableFilter 0x0
check "asked once only" probe gone "top:KORVEN : WARNING" 1000
ctl source none

scenario "the device pulled out while the settings are shown, and plugged back"
check "Open Setting" eval "command 32774 && probe shown Volume 5000"
check "the Filter tab" tab 1 Filter
check "'Enable Filter' on again" click Filter $enable_filter
check "stores EnableFilter 1" stored EnableFilter 0x1
check "unplug" ctl unplug
check "the tray icon is the no-device one ($menu_nodevice)" eventually 5 tray_icon $menu_nodevice
check "the settings hide" probe hidden "$main" 5000
check "silently" probe gone "IOCONTROL ERROR" 1000
ctl clear-log
check "plug it back" ctl replug
check "the tray icon is the device's again" eventually 10 tray_icon $menu_closed
check "the stored settings are pushed again" eventually 3 requests <<'LOG'
IOCTL_FILTER_ON
IOCTL_OUTPUT_5_1
IOCTL_SET_BASS_MODE 200 100 300
LOG
check "the settings open again" open_settings

scenario "Exit"
ctl clear-log
check "Down x4, Return chooses Exit, which ends the program" \
  eval "tray_menu $menu_open down down down down return && korven_ended"
check_exit_reset

e2e_finish
