#!/usr/bin/env bash
# End-to-end test of what the program does for today's Windows, under Wine on the simulated
# KORVEN: its manifest asks for no execution level; the KORVEN is found behind a host
# controller that only the system's device list names, plugged and unplugged (with the
# walk's time with and without such controllers); and after the shell lost the notification
# area ("TaskbarCreated"), the icon and menu of each state come back.
#   tests/wine_e2e/todays_windows_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-today

scenario "the manifest of korven.exe"
manifest() {
  probe manifest 'C:\KORVEN\korven.exe' || return 1
  local has
  for has in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
             'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'; do
    grep -qF "$has" "$e2e_logs/probe.out" || return 1
  done
  ! grep -qE '<(requestedExecutionLevel|requestedPrivileges|trustInfo)' "$e2e_logs/probe.out"
}
check "keeps common controls 6 and the supported systems, names no execution level" manifest

scenario "the KORVEN behind a host controller known only by its interface"
walk_exe="$build/tests/wine_e2e/korven_usb_walk_check.exe"
# walk RESULT [OPTION]: the program's walk says "found" or "not found".
walk() {
  wine "$walk_exe" "${@:2}" >"$e2e_logs/walk.out" 2>&1
  sed -i 's/\r$//' "$e2e_logs/walk.out"
  { echo "the walk says:"; cat "$e2e_logs/walk.out"; echo "the tree:"; } >"$e2e_logs/why"
  korvensim_ctl usb >>"$e2e_logs/why" 2>&1
  [ "$(cat "$e2e_logs/walk.out")" = "$1" ]
}
# walk_time LABEL OPTION...: the walk's time, on the test's output.
walk_time() {
  wine "$walk_exe" --time 200 "${@:2}" >"$e2e_logs/walk-time.out" 2>&1
  sed -i 's/\r$//' "$e2e_logs/walk-time.out"
  echo "   walk $1: $(tail -n 1 "$e2e_logs/walk-time.out")"
}
ctl unplug --quiet
walk_time "without the listed controller, nothing plugged in"
check "the second host controller installs" ctl controller add
check "the device list names it" eval \
  "korvensim_ctl usb >'$e2e_logs/usb.out' 2>&1 && grep -qi '^\\\\\\\\?\\\\root#korvensim_hc#0000#{3abf6f2d-71c4-462a-8a92-1e6861e6af27}' '$e2e_logs/usb.out'"
cp "$e2e_logs/usb.out" "$e2e_logs/why"
walk_time "with the listed controller, nothing plugged in"
ctl replug --quiet
ctl topology controller
check "found there" walk found
check "not by the legacy names alone" walk "not found" --legacy-only
ctl unplug --quiet
check "pulled out: not found" walk "not found"
ctl replug --quiet
check "plugged back: found" walk found

scenario "korven.exe takes the KORVEN up behind that controller"
# replugged: plugged back, the device's icon, and the stored settings pushed again.
replugged() {
  ctl clear-log && ctl replug && eventually 10 tray_icon $menu_closed &&
    eventually 3 requests <<'LOG'
IOCTL_FILTER_ON
IOCTL_OUTPUT_5_1
IOCTL_SET_BASS_MODE 200 100 300
LOG
}
ctl reset
ctl topology controller
forget_settings
check "the program starts, hidden" start_korven
[ -n "$korven_pid" ] || e2e_finish
check "with the device's icon ($menu_closed)" eventually 5 tray_icon $menu_closed
check "unplug" ctl unplug
check "the no-device icon ($menu_nodevice)" eventually 5 tray_icon $menu_nodevice
check "plugged back: the device's icon again, the settings pushed" replugged

scenario "an Explorer restart in each state"
# restart ICON: the shell forgets the icon and says "TaskbarCreated"; the same icon comes
# back, and nothing goes to the device.
restart() {
  ctl clear-log
  probe explorer-restart "$main" "$1" && eventually 5 tray_icon "$1" && requests </dev/null
}
check "hidden: the icon $menu_closed comes back" restart $menu_closed
check "with its menu: Down, Return is Open Setting" \
  eval "tray_menu $menu_closed down return && probe shown '$main' 5000"
check "shown: the icon $menu_open comes back" restart $menu_open
check "the settings stay shown" probe shown "$main" 1000
check "with its menu: Down, Return is Close Setting" \
  eval "tray_menu $menu_open down return && probe hidden '$main' 5000"
check "unplug" ctl unplug
check "absent: the icon $menu_nodevice" eventually 5 tray_icon $menu_nodevice
check "comes back" restart $menu_nodevice
check "with its menu: Down x3, Return is About" \
  eval "tray_menu $menu_nodevice down down down return && probe shown 'top:About' 5000"
click 'top:About' 1
check "plugged back: the device's icon again, the settings pushed" replugged

scenario "Exit"
ctl clear-log
check "Down x4, Return chooses Exit, which ends the program" \
  eval "tray_menu $menu_closed down down down down return && korven_ended"
check_exit_reset

e2e_finish
