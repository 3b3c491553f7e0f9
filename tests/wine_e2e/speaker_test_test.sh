#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine: the Speaker
# Test dialog from the tray, its Auto cycle, its Surround test with the device's movement,
# and Exit restoring the filter state read when the dialog opened.
#   tests/wine_e2e/speaker_test_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-speaker

speaker_test='top:KORVEN: Speaker Test'
mode_auto=1040
mode_manual=1041
mode_surround=1042
test_button=1022
speaker_exit=1076

# While the movement runs, the pad's timer may send IOCTL_SURROUND_START again once a turn.
# restarts_aside: the log with such repeats, and any before the first other request, left out.
restarts_aside() {
  ctl log --no-poll
  awk '$0 == "IOCTL_SURROUND_START" && (NR == first || prev == $0) { prev = $0; next }
       { if (!seen) first = 0; seen = 1; prev = $0; print }' first=1 "$e2e_logs/ctl.out" \
    >"$e2e_logs/restarts-aside.out"
}
# surround_requests: as requests, with the pad's repeated starts left out.
surround_requests() {
  local expected
  expected="$(cat)"
  restarts_aside
  if [ "$(cat "$e2e_logs/restarts-aside.out")" = "$expected" ]; then return 0; fi
  { echo "expected:"; echo "$expected"; echo "the device received:"; cat "$e2e_logs/ctl.out"; } \
    >"$e2e_logs/why"
  return 1
}

scenario "start, with the filter stored on"
ctl reset
forget_settings
check "the program starts into the notification area" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "stored EnableFilter 1" stored EnableFilter 0x1
check "the device's filter is on" device_state filter=on surround=stopped

scenario "Test Speaker opens the dialog"
ctl clear-log
check "Test Speaker shows 'KORVEN: Speaker Test'" \
  eval "command 32775 && probe shown '$speaker_test' 5000"
check "opening sends IOCTL_FILTER_OFF" requests <<<"IOCTL_FILTER_OFF"
check "the device's filter is off" device_state filter=off
check "first run: Manual is chosen" control "$speaker_test" $mode_manual check=1
check "first run: TEST is disabled" control "$speaker_test" $test_button enabled=0

scenario "Auto"
ctl clear-log
check "click 'Auto'" click "$speaker_test" $mode_auto
check "sends IOCTL_FILTER_OFF" requests <<<"IOCTL_FILTER_OFF"
check "stores TestMode 1" stored TestMode 0x1
check "stores TestBtnStatus 1" stored TestBtnStatus 0x1
check "TEST is enabled" control "$speaker_test" $test_button enabled=1
ctl clear-log
check "TEST starts the cycle" click "$speaker_test" $test_button
check "stores TestBtnStatus 2" stored TestBtnStatus 0x2
check "the mode buttons are disabled" \
  eval "control '$speaker_test' $mode_auto enabled=0 && control '$speaker_test' $mode_surround enabled=0"
sleep 1.5  # a tone or two of the cycle
check "the tones send nothing to the device" requests </dev/null
check "TEST again stops it" click "$speaker_test" $test_button
check "stores TestBtnStatus 1" stored TestBtnStatus 0x1
check "the mode buttons are enabled again" \
  eval "control '$speaker_test' $mode_auto enabled=1 && control '$speaker_test' $mode_surround enabled=1"
check "still nothing sent" requests </dev/null

scenario "Surround"
ctl clear-log
check "click 'Surround'" click "$speaker_test" $mode_surround
check "choosing it sends nothing" requests </dev/null
check "stores TestMode 3" stored TestMode 0x3
check "TEST starts the movement" click "$speaker_test" $test_button
check "sends IOCTL_FILTER_ON, then IOCTL_SURROUND_START" surround_requests <<'LOG'
IOCTL_FILTER_ON
IOCTL_SURROUND_START
LOG
check "the device's filter is on and surround runs" device_state filter=on surround=running
check "stores TestBtnStatus 2" stored TestBtnStatus 0x2
ctl clear-log
check "TEST again stops it" click "$speaker_test" $test_button
check "sends IOCTL_FILTER_OFF, then IOCTL_SURROUND_STOP" surround_requests <<'LOG'
IOCTL_FILTER_OFF
IOCTL_SURROUND_STOP
LOG
check "the device's filter is off and surround is stopped" \
  device_state filter=off surround=stopped
check "stores TestBtnStatus 1" stored TestBtnStatus 0x1

scenario "Exit restores the filter"
ctl clear-log
check "Exit hides the dialog" \
  eval "click '$speaker_test' $speaker_exit && probe hidden '$speaker_test' 5000"
check "sends IOCTL_FILTER_ON, as EnableFilter was 1 at opening" requests <<<"IOCTL_FILTER_ON"
check "the device's filter is on" device_state filter=on
check "the stored TestMode stays 3" stored TestMode 0x3

scenario "Exit while the movement runs"
ctl clear-log
check "Test Speaker shows it again" eval "command 32775 && probe shown '$speaker_test' 5000"
check "Surround is still chosen" control "$speaker_test" $mode_surround check=1
check "TEST starts the movement" click "$speaker_test" $test_button
check "the device's surround runs" device_state surround=running
check "Exit hides the dialog" \
  eval "click '$speaker_test' $speaker_exit && probe hidden '$speaker_test' 5000"
check "open, start, stop, then the filter restored" surround_requests <<'LOG'
IOCTL_FILTER_OFF
IOCTL_FILTER_ON
IOCTL_SURROUND_START
IOCTL_FILTER_OFF
IOCTL_SURROUND_STOP
IOCTL_FILTER_ON
LOG
check "the device's filter is on and surround is stopped" \
  device_state filter=on surround=stopped
check "stores TestBtnStatus 1" stored TestBtnStatus 0x1

scenario "Exit"
ctl clear-log
check "Exit ends the program" close_korven
check_exit_reset

e2e_finish
