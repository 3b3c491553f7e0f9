#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine: the start-up
# push, every Filter page control, failed requests, and the exit reset. The program and the device are read and driven from outside:
# windows with korven_probe, the driver with korvenctl, settings with reg.
#   tests/wine_e2e/filter_page_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-filter

# Control ids of the Filter page.
enable_filter=1048
speakers_21=1011
speakers_51=1012
bass_group=1072
bass_120=1010
bass_300=1007
bass_450=1013
source_text=1073
filter_dependent=("$speakers_21" "$speakers_51" "$bass_group" "$bass_120" "$bass_300" "$bass_450")

scenario "first run: the defaults are written and pushed"
ctl reset
forget_settings
check "the program starts into the notification area" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "the Volume page sends the six trims, then the Filter page pushes filter, 5.1, 120 Hz" \
  requests <<'LOG'
IOCTL_SET_GAIN_L 1
IOCTL_SET_GAIN_R 1
IOCTL_SET_GAIN_C 1
IOCTL_SET_GAIN_LFE 1
IOCTL_SET_GAIN_RL 1
IOCTL_SET_GAIN_RR 1
IOCTL_FILTER_ON
IOCTL_OUTPUT_5_1
IOCTL_SET_BASS_MODE 200 100 300
LOG
check "the device is on, 5.1, 120 Hz" device_state filter=on speakers=5.1 "bass=200 100 300"
check "the tray icon is the device's ($menu_closed)" tray_icon $menu_closed
check "Open Setting shows the Volume page" open_settings
check "the Filter tab shows the Filter page" tab 1 Filter
check "'Enable Filter' is checked" control Filter $enable_filter check=1 "text=Enable Filter"
check "'5.1 Speakers(ZEP)' is chosen" control Filter $speakers_51 check=1
check "'120Hz' is chosen" control Filter $bass_120 check=1
check "stored EnableFilter 1" stored EnableFilter 0x1
check "stored OutputMode 1" stored OutputMode 0x1
check "stored BassOutputMode 0" stored BassOutputMode 0x0
check "the shown page holds one handle" eventually 2 device_state handles=1

scenario "the source display follows the device"
check "the page polls the source" eventually 2 polled ok
ctl source 2ch
check "'2-channel data'" eventually 2 control Filter $source_text "text=2-channel data"
ctl clear-log
ctl source 5.1
check "5.1 with the filter on: a warning" probe wait "top:KORVEN : WARNING" 5000
check "Yes keeps the filter" click "top:KORVEN : WARNING" 6
check "the warning goes" probe gone "top:KORVEN : WARNING" 5000
check "'5.1-channel data'" eventually 2 control Filter $source_text "text=5.1-channel data"
check "nothing is sent" requests </dev/null
check "EnableFilter stays 1" stored EnableFilter 0x1
ctl source none
check "nothing playing: empty" eventually 2 control Filter $source_text "text="

scenario "crossovers"
ctl clear-log
check "click '450Hz'" click Filter $bass_450
check "sends 40, 27, 67" requests <<<"IOCTL_SET_BASS_MODE 40 27 67"
check "stores BassOutputMode 2" stored BassOutputMode 0x2
ctl clear-log
check "click '300Hz'" click Filter $bass_300
check "sends 60, 40, 100" requests <<<"IOCTL_SET_BASS_MODE 60 40 100"
check "stores BassOutputMode 1" stored BassOutputMode 0x1
ctl fail IOCTL_SET_BASS_MODE 1
ctl clear-log
check "click '120Hz' while the driver refuses" click Filter $bass_120
check "the refused request" requests <<<"IOCTL_SET_BASS_MODE 200 100 300 STATUS_UNSUCCESSFUL"
check "no report for a crossover" probe gone "IOCONTROL ERROR" 1000
check "BassOutputMode stays 1" stored BassOutputMode 0x1

scenario "speaker layouts"
ctl clear-log
check "click '2.1 Speakers'" click Filter $speakers_21
check "sends IOCTL_OUTPUT_2_1" requests <<<"IOCTL_OUTPUT_2_1"
check "stores OutputMode 0" stored OutputMode 0x0
check "the device is on 2.1" device_state speakers=2.1
ctl fail IOCTL_OUTPUT_5_1 1
ctl clear-log
check "click '5.1 Speakers(ZEP)' while the driver refuses: a report" \
  click_into_box Filter $speakers_51 "IOCONTROL ERROR"
check "the report says 'DATA TRANSPORT ERROR,TRY AGAIN.'" \
  control "IOCONTROL ERROR" 65535 "text=DATA TRANSPORT ERROR,TRY AGAIN."
check "OK answers it" click "IOCONTROL ERROR" 1
check "the report goes" probe gone "IOCONTROL ERROR" 5000
check "the click comes back" click_returned
check "the refused request" requests <<<"IOCTL_OUTPUT_5_1 STATUS_UNSUCCESSFUL"
check "OutputMode stays 0" stored OutputMode 0x0
check "the radio keeps the user's choice" control Filter $speakers_51 check=1

scenario "switching the filter off"
ctl clear-log
check "clear 'Enable Filter'" click Filter $enable_filter
check "sends IOCTL_FILTER_OFF" requests <<<"IOCTL_FILTER_OFF"
check "stores EnableFilter 0" stored EnableFilter 0x0
check "the device's filter is off" device_state filter=off
for id in "${filter_dependent[@]}"; do
  check "control $id is disabled" control Filter "$id" enabled=0
done

scenario "exit reset"
ctl clear-log
check "Exit ends the program" close_korven
check_exit_reset
check "the stored EnableFilter is untouched" stored EnableFilter 0x0
check "the stored OutputMode is untouched" stored OutputMode 0x0
check "the stored BassOutputMode is untouched" stored BassOutputMode 0x1

scenario "second run: the stored choice is pushed"
ctl reset
check "the program starts into the notification area" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "with the filter stored off, only IOCTL_FILTER_OFF after the trims" requests <<'LOG'
IOCTL_SET_GAIN_L 1
IOCTL_SET_GAIN_R 1
IOCTL_SET_GAIN_C 1
IOCTL_SET_GAIN_LFE 1
IOCTL_SET_GAIN_RL 1
IOCTL_SET_GAIN_RR 1
IOCTL_FILTER_OFF
LOG
check "'Enable Filter' is clear" control Filter $enable_filter check=0
check "the speaker radios are disabled" control Filter $speakers_21 enabled=0
check "the bass group is disabled" control Filter $bass_group enabled=0

ctl clear-log
check "Exit ends the program" close_korven
check_exit_reset

e2e_finish
