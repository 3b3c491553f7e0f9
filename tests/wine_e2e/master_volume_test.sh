#!/usr/bin/env bash
# End-to-end test of the real korven.exe on the simulated KORVEN under Wine: the Volume
# page's master slider, heard. Under Wine the mixer volume belongs to the process that sets
# it, so it shows only in the loudness of the program's own sounds: a Speaker Test tone after
# a master step must be the tone at full volume scaled by the mixer value of that step, for
# both mappings of FilterVolume.
#   tests/wine_e2e/master_volume_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_listen
e2e_begin "$build" wine-e2e-volume

picture_lf=1051
master=1016

# ratio MAPPING STEP: the mixer value of master STEP over the full 65535, to four places.
ratio() {
  awk -v on="$1" -v step="$2" 'BEGIN { printf "%.4f", (on ? 26214 + 983 * step : 1638 * step) / 65535 }'
}
# LF from the Speaker Test, pressed for 0.6 s.
lf_tone() {
  command 32775 && probe shown "$speaker_test" 5000 &&
    probe press "$speaker_test" $picture_lf 600 &&
    click "$speaker_test" $speaker_exit && probe hidden "$speaker_test" 5000
}
# master STEP: the master slider released at STEP (its position is 40 - STEP).
master() {
  open_settings && probe slider Volume $master $((40 - $1)) && sleep 0.5 && close_settings
}

for mapping in 1 0; do
  scenario "FilterVolume $mapping"
  ctl reset
  forget_settings
  wine reg add 'HKLM\SOFTWARE\TALVOR\KORVEN\Filter' /v FilterVolume /t REG_DWORD /d $mapping \
    /f >"$e2e_logs/reg-add.out" 2>&1
  check "the program starts into the notification area" start_korven
  [ -n "$korven_pid" ] || e2e_finish
  check "recording" record "master-$mapping"
  check "LF at the mixer's full volume" lf_tone
  steps=(10 30)
  [ "$mapping" = 1 ] && steps=(0 30)
  expected=(LF:0.5-0.75)
  for step in "${steps[@]}"; do
    check "master step $step" master "$step"
    check "LF again" lf_tone
    expected+=(_ "LF:0.5-0.75*$(ratio $mapping "$step")")
  done
  # Wine lists the capture-only mixers (the sink's monitor here) after the playback ones, each
  # without a speakers line: the walk that sets every mixer ends there before SystemVolume is
  # written, and the read ends there with the slider left as it was.
  check "SystemVolume keeps its default 1" stored SystemVolume 0x1
  check "the master slider stays where it was released" \
    eval "open_settings && control Volume $master pos=$((40 - steps[1])) && close_settings"
  check "heard: LF scaled by the mixer value of each step" heard "${expected[@]}"
  check "Exit ends the program" close_korven
done

e2e_finish
