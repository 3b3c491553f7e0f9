#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine: the Speaker
# Test dialog from the tray, its Auto cycle, its Surround test with the device's movement,
# and Exit restoring the filter state read when the dialog opened. The program plays into a
# sound server of the test's own, and what it plays is listened to: the Auto cycle, the
# Manual presses and the Surround clip.
#   tests/wine_e2e/speaker_test_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_listen
e2e_begin "$build" wine-e2e-speaker

mode_auto=1040
mode_manual=1041
mode_surround=1042
test_button=1022
picture_lf=1051
picture_ctr=1052
picture_rf=1053
picture_ls=1054
picture_lfe=1055
picture_rs=1056

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
check "recording" record auto
check "TEST starts the cycle" timed_click "$speaker_test" $test_button
check "stores TestBtnStatus 2" stored TestBtnStatus 0x2
check "the mode buttons are disabled" \
  eval "control '$speaker_test' $mode_auto enabled=0 && control '$speaker_test' $mode_surround enabled=0"
sleep_after "$click_ended" 6.4  # into the second cycle's LF
check "the tones send nothing to the device" requests </dev/null
check "TEST again stops it" click "$speaker_test" $test_button
sleep 0.6
check "TEST starts it again" click "$speaker_test" $test_button
sleep 0.5
check "and stops it" click "$speaker_test" $test_button
tone="0.85-1.15"
check "heard: LF, CTR, RF, RS, LFE, LS, a second each on its own channel at its pitch, then LF again; silence after the stop; the next start at LF" \
  heard LF:$tone CTR:$tone RF:$tone RS:$tone LFE:$tone LS:$tone LF CTR? _:0.4- LF:0.2-0.9
check "stores TestBtnStatus 1" stored TestBtnStatus 0x1
check "the mode buttons are enabled again" \
  eval "control '$speaker_test' $mode_auto enabled=1 && control '$speaker_test' $mode_surround enabled=1"
check "still nothing sent" requests </dev/null

scenario "Surround"
ctl clear-log
check "click 'Surround'" click "$speaker_test" $mode_surround
check "choosing it sends nothing" requests </dev/null
check "stores TestMode 3" stored TestMode 0x3
check "recording" record surround
check "TEST starts the movement" timed_click "$speaker_test" $test_button
started=("$click_began" "$click_ended")
check "sends IOCTL_FILTER_ON, then IOCTL_SURROUND_START" surround_requests <<'LOG'
IOCTL_FILTER_ON
IOCTL_SURROUND_START
LOG
check "the device's filter is on and surround runs" device_state filter=on surround=running
check "stores TestBtnStatus 2" stored TestBtnStatus 0x2
ctl clear-log
sleep_after "${started[1]}" 2.6  # four turns of the clip
check "TEST again stops it" timed_click "$speaker_test" $test_button
sleep 1  # a clip that went on would be heard longer
clip="$(awk -v b0="${started[0]}" -v e0="${started[1]}" -v b1="$click_began" -v e1="$click_ended" \
  'BEGIN { printf "%.2f-%.2f", b1 - e0 - 0.15, e1 - b0 + 0.15 }')"
check "heard: the rotation clip looping from start to stop, then nothing" heard clip:$clip
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

scenario "Manual, listened to"
check "Test Speaker shows it again" eval "command 32775 && probe shown '$speaker_test' 5000"
check "click 'Manual'" click "$speaker_test" $mode_manual
check "recording" record manual
# Each press apart from the last by a silence the recording shows.
press() { sleep 0.4 && probe press "$speaker_test" "$@"; }
for picture in $picture_lf $picture_ctr $picture_rf $picture_rs $picture_lfe $picture_ls; do
  check "press on picture $picture for 0.4 s" press $picture 400
done
check "press on CTR, off it after 0.4 s, release 0.6 s later" press $picture_ctr 400 600
check "press on LF for 1.5 s" press $picture_lf 1500
check "click 'Auto'" click "$speaker_test" $mode_auto
check "press on LF in Auto" press $picture_lf 400
check "click 'Surround'" click "$speaker_test" $mode_surround
check "press on LF in Surround" press $picture_lf 400
held="0.3-0.6"
gap="_:0.3-"
check "heard: each picture's tone while it is held, CTR until the pointer left it, nothing in Auto and Surround" \
  heard LF:$held $gap CTR:$held $gap RF:$held $gap RS:$held $gap LFE:$held $gap LS:$held $gap \
  CTR:$held $gap LF:1.35-1.75
check "Exit hides the dialog" \
  eval "click '$speaker_test' $speaker_exit && probe hidden '$speaker_test' 5000"

scenario "Exit"
ctl clear-log
check "Exit ends the program" close_korven
check_exit_reset

e2e_finish
