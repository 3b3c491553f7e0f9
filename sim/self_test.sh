#!/usr/bin/env bash
# Self-test of the simulated KORVEN under Wine: installs it into a fresh prefix inside the
# build folder, talks to the driver and the stand-in libraries with korvenctl, uninstalls.
#   sim/self_test.sh [BUILD_DIR]     (default: build/windows-i686, with the sim targets built)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/.." && pwd)"
build="${1:-$source_dir/build/windows-i686}"
build="$(cd "$build" 2>/dev/null && pwd)" || { echo "no build folder: ${1:-}" >&2; exit 1; }

# Wine's window system needs a display even for a broadcast; a hidden one will do.
if [ -z "${KORVENSIM_DISPLAY:-}" ]; then
  export KORVENSIM_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}" "$build"
fi

source "$here/sim_wine.sh"
korvensim_fresh_prefix "$build" wine-sim-selftest || { echo "no Wine prefix" >&2; exit 1; }
logs="$KORVEN_WINE_ROOT/logs"
out="$logs/korvenctl.out"

source "$here/../tests/wine/checks.sh"
check_detail="$out"
finish() {
  wineserver -k >/dev/null 2>&1
  checks_summary
  exit $?
}

# ctl ARGS...: korvenctl's output in $out, its exit code returned.
ctl() {
  korvensim_ctl "$@" >"$out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$out"
  return $status
}
# says TEXT ARGS...: korvenctl ARGS prints exactly TEXT (lines joined by |).
says() {
  local expected="$1"
  shift
  ctl "$@"
  [ "$(paste -sd'|' "$out")" = "$expected" ]
}
# shows PATTERN ARGS...: some line of korvenctl ARGS matches the extended PATTERN.
shows() {
  local pattern="$1"
  shift
  ctl "$@" && grep -Eq "$pattern" "$out"
}
# fails ARGS...: korvenctl ARGS does not succeed.
fails() { ! ctl "$@"; }
# refused ERROR REQUEST [INHEX] [OUTLEN]: the request fails with that error.
refused() {
  local error="$1"
  shift
  ! ctl send "$@" && [ "$(cat "$out")" = "error $error" ]
}

# The server stays for the whole test, and the driver and its state with it.
wineserver -p
check "installs into a fresh prefix" "$here/install_sim.sh" --demand "$build"
[ "$failed" -eq 0 ] || finish
check "the service is running" \
  grep -q RUNNING "$logs/sc-start.out"

# The USB side, as the program's walk sees it.
check "HCD0 has a root hub of four ports" shows '^  hub USB#ROOT_HUB#.* ports=4$' usb
check "the KORVEN sits on root port 2" shows '^    port 2: device 2b4d:1101$' usb
check "another vendor's device sits on root port 1" shows '^    port 1: device 5a5a:1101$' usb
check "no other host controller" shows '^HCD0$' usb
check "only HCD0" test "$(grep -c '^HCD' "$out")" -eq 1

# The fourteen requests with their exact sizes, in code order.
check "the device path opens" says "open" open
ctl clear-log
check "IOCTL_FILTER_OFF accepted" says "ok returned=0" send IOCTL_FILTER_OFF
check "IOCTL_FILTER_ON accepted" says "ok returned=0" send IOCTL_FILTER_ON
check "IOCTL_OUTPUT_2_1 accepted" says "ok returned=0" send IOCTL_OUTPUT_2_1
check "IOCTL_OUTPUT_5_1 accepted" says "ok returned=0" send IOCTL_OUTPUT_5_1
check "IOCTL_SURROUND_STOP accepted" says "ok returned=0" send IOCTL_SURROUND_STOP
check "IOCTL_SURROUND_START accepted" says "ok returned=0" send IOCTL_SURROUND_START
check "IOCTL_SET_GAIN_LFE 0.1 accepted" says "ok returned=0" send IOCTL_SET_GAIN_LFE cdcccc3d
check "IOCTL_SET_GAIN_L 10 accepted" says "ok returned=0" send IOCTL_SET_GAIN_L 00002041
check "IOCTL_SET_GAIN_R 2 accepted" says "ok returned=0" send IOCTL_SET_GAIN_R 00000040
check "IOCTL_SET_GAIN_C 0.5 accepted" says "ok returned=0" send IOCTL_SET_GAIN_C 0000003f
check "IOCTL_SET_GAIN_RL 4 accepted" says "ok returned=0" send IOCTL_SET_GAIN_RL 00008040
check "IOCTL_SET_GAIN_RR 0.25 accepted" says "ok returned=0" send IOCTL_SET_GAIN_RR 0000803e
check "IOCTL_SET_BASS_MODE 40 27 67 accepted" says "ok returned=0" \
  send IOCTL_SET_BASS_MODE 280000001b00000043000000
check "IOCTL_GET_SOURCE_CHANNELS: nothing playing" says "ok returned=4 out=00000000" \
  send IOCTL_GET_SOURCE_CHANNELS - 4
check "the log holds the fourteen requests in order" says "$(paste -sd'|' <<'LOG'
IOCTL_FILTER_OFF
IOCTL_FILTER_ON
IOCTL_OUTPUT_2_1
IOCTL_OUTPUT_5_1
IOCTL_SURROUND_STOP
IOCTL_SURROUND_START
IOCTL_SET_GAIN_LFE 0.1
IOCTL_SET_GAIN_L 10
IOCTL_SET_GAIN_R 2
IOCTL_SET_GAIN_C 0.5
IOCTL_SET_GAIN_RL 4
IOCTL_SET_GAIN_RR 0.25
IOCTL_SET_BASS_MODE 40 27 67
IOCTL_GET_SOURCE_CHANNELS
LOG
)" log
check "the full log has sizes and statuses" shows \
  '^12 IOCTL_SET_BASS_MODE in=12 out=0 40 27 67 ok$' log --full
check "the state follows the requests" says "$(paste -sd'|' <<'STATE'
filter=on
speakers=5.1
surround=running
bass=40 27 67
gain.LFE=0.1
gain.L=10
gain.R=2
gain.C=0.5
gain.RL=4
gain.RR=0.25
source=none
plugged=yes
topology=root
product=0x1101
handles=0
opens=15
faults=0
STATE
)" state

# Wrong sizes are refused as the real driver refuses them, and change nothing.
ctl clear-log
check "IOCTL_FILTER_OFF with input refused" refused 87 IOCTL_FILTER_OFF 00000000
check "IOCTL_OUTPUT_2_1 with output refused" refused 87 IOCTL_OUTPUT_2_1 - 4
check "a 3-byte gain refused" refused 87 IOCTL_SET_GAIN_L 000080
check "an 8-byte gain refused" refused 87 IOCTL_SET_GAIN_L 0000803f0000803f
check "a gain with output refused" refused 87 IOCTL_SET_GAIN_L 0000803f 4
check "an 11-byte bass record refused" refused 87 IOCTL_SET_BASS_MODE c8000000640000002c0100
check "a bass record without input refused" refused 87 IOCTL_SET_BASS_MODE
check "a short source reply refused as too small" refused 122 IOCTL_GET_SOURCE_CHANNELS - 3
check "a long source reply refused" refused 87 IOCTL_GET_SOURCE_CHANNELS - 8
check "a source request with input refused" refused 87 IOCTL_GET_SOURCE_CHANNELS 00000000 4
check "an unknown request refused" refused 1 0x223038
check "the driver's private range is not on the device path" refused 1 0x223800
check "another transfer method is another request" refused 1 0x223019
check "refused requests changed nothing" shows '^filter=on$' state
check "refused gains changed nothing" shows '^gain.L=10$' state
check "refused requests are logged with their status" says "$(paste -sd'|' <<'LOG'
IOCTL_FILTER_OFF STATUS_INVALID_PARAMETER
IOCTL_OUTPUT_2_1 STATUS_INVALID_PARAMETER
IOCTL_SET_GAIN_L STATUS_INVALID_PARAMETER
IOCTL_SET_GAIN_L STATUS_INVALID_PARAMETER
IOCTL_SET_GAIN_L 1 STATUS_INVALID_PARAMETER
IOCTL_SET_BASS_MODE STATUS_INVALID_PARAMETER
IOCTL_SET_BASS_MODE STATUS_INVALID_PARAMETER
IOCTL_GET_SOURCE_CHANNELS STATUS_BUFFER_TOO_SMALL
IOCTL_GET_SOURCE_CHANNELS STATUS_INVALID_PARAMETER
IOCTL_GET_SOURCE_CHANNELS STATUS_INVALID_PARAMETER
0x223038 STATUS_INVALID_DEVICE_REQUEST
0x223800 STATUS_INVALID_DEVICE_REQUEST
0x223019 STATUS_INVALID_DEVICE_REQUEST
LOG
)" log

# The source kind the device reports.
ctl source 5.1
check "a 5.1-channel source" says "ok returned=4 out=01000000" send IOCTL_GET_SOURCE_CHANNELS - 4
ctl source 2ch
check "a 2-channel source" says "ok returned=4 out=00010000" send IOCTL_GET_SOURCE_CHANNELS - 4
ctl source none
check "no source" says "ok returned=4 out=00000000" send IOCTL_GET_SOURCE_CHANNELS - 4
check "a source kind must be known" fails source 7

# Injected faults: the next N requests of one code fail, others pass.
ctl fail IOCTL_FILTER_OFF 2
check "two faults pending" shows '^faults=2$' state
check "first IOCTL_FILTER_OFF fails" refused 31 IOCTL_FILTER_OFF
check "another request passes meanwhile" says "ok returned=0" send IOCTL_FILTER_ON
check "second IOCTL_FILTER_OFF fails" refused 31 IOCTL_FILTER_OFF
check "third IOCTL_FILTER_OFF passes" says "ok returned=0" send IOCTL_FILTER_OFF
check "a failed request leaves the state" shows '^filter=off$' state
ctl fail IOCTL_SET_BASS_MODE 1 0xC000009D
check "a fault with its own status" refused 1167 IOCTL_SET_BASS_MODE c8000000640000002c010000
check "then the request passes" says "ok returned=0" \
  send IOCTL_SET_BASS_MODE c8000000640000002c010000
ctl fail any 1
check "a fault on any request" refused 31 IOCTL_OUTPUT_2_1
ctl fail IOCTL_FILTER_ON 5
ctl fail IOCTL_FILTER_ON 0
check "a count of 0 clears the faults" says "ok returned=0" send IOCTL_FILTER_ON
check "no faults left" shows '^faults=0$' state

# Unplug and re-plug: the device path and the USB port go away and come back.
check "unplug" says "unplugged" unplug --quiet
check "the device path is gone" says "cannot open, error 2" open
check "the port is empty" shows '^    port 2: empty$' usb
check "the state says unplugged" shows '^plugged=no$' state
check "the filter library reports the device not plugged in" \
  shows '^AddUSBAudioFilter -> 0 error -201$' call 'C:\KORVEN\Zelfilter.dll' AddUSBAudioFilter
check "re-plug" says "plugged in" replug --quiet
check "the device path is back" says "open" open
check "the port holds the KORVEN again" shows '^    port 2: device 2b4d:1101$' usb
check "a handle from before a re-plug reaches nothing" says \
  "IOCTL_FILTER_ON ok|unplug ok|IOCTL_FILTER_ON error 1167|replug ok|IOCTL_FILTER_ON error 1167" \
  hold IOCTL_FILTER_ON unplug IOCTL_FILTER_ON replug IOCTL_FILTER_ON
check "a new handle reaches the device again" says "ok returned=0" send IOCTL_FILTER_ON
check "unplug broadcasts the device change" shows '^broadcast WM_DEVICECHANGE DBT_DEVNODES_CHANGED x1$' unplug
check "re-plug broadcasts it twice" shows '^broadcast WM_DEVICECHANGE DBT_DEVNODES_CHANGED x2$' replug

# Behind an external hub, and with another product id.
ctl topology hub
check "the root port holds a hub" shows '^    port 2: hub 5a5a:0100$' usb
check "the KORVEN sits on the hub's port 3" shows '^        port 3: device 2b4d:1101$' usb
ctl topology root 0x1201
check "the KORVEN back on the root port with product 0x1201" \
  shows '^    port 2: device 2b4d:1201$' usb
ctl topology root 0x1101

# Behind the second host controller, which only the system's device list names.
listed='^\\\\\?\\root#korvensim_hc#0000#\{3abf6f2d-71c4-462a-8a92-1e6861e6af27\}$'
# on_second_controller PATTERN: a line below the listed controller matches PATTERN.
on_second_controller() {
  ctl usb && sed -n '/^\\\\?\\/,$p' "$out" | grep -Eq "$1"
}
check "the second host controller installs" shows '^host controller ROOT.KORVENSIM_HC.0000 installed$' \
  controller add
check "the device list names it" shows "$listed" usb
check "with a root hub of four ports" on_second_controller '^  hub USB#ROOT_HUB#KORVENSIM2#.* ports=4$'
ctl topology controller
check "the KORVEN sits on its root port 2" on_second_controller '^    port 2: device 2b4d:1101$'
check "and no longer on HCD0" shows '^    port 2: empty$' usb
check "the state says so" shows '^topology=controller$' state
check "the controller is removed" shows '^host controller ROOT.KORVENSIM_HC.0000 removed$' \
  controller remove
check "the device list names it no more" eval "ctl usb && ! grep -Eq '$listed' '$out'"
ctl topology root

# The stand-in libraries.
lib='C:\KORVEN\Zelfilter.dll'
hid='C:\KORVEN\hidrctrl.dll'
ctl steer CallLog 'C:\KorvenSim\calls.log'
check "IsDeviceInstalled: the service is installed" \
  shows '^IsDeviceInstalled -> 1 error 0$' call "$lib" IsDeviceInstalled
check "AddUSBAudioFilter succeeds with the device plugged in" \
  shows '^AddUSBAudioFilter -> 1 error 0$' call "$lib" AddUSBAudioFilter
ctl steer AddUSBAudioFilter -202
check "AddUSBAudioFilter steered to -202" \
  shows '^AddUSBAudioFilter -> 0 error -202$' call "$lib" AddUSBAudioFilter
ctl steer AddUSBAudioFilter -
ctl steer IsDeviceInstalled 0
check "IsDeviceInstalled steered to 0" shows '^IsDeviceInstalled -> 0 error 0$' call "$lib" IsDeviceInstalled
check "AddUSBAudioFilter: not installed" \
  shows '^AddUSBAudioFilter -> 0 error -200$' call "$lib" AddUSBAudioFilter
ctl steer IsDeviceInstalled -
check "the monitor opens and closes" \
  says "OpenHidMonitor -> 1 error 0|CloseHidMonitor -> 1 error 0" call "$hid" OpenHidMonitor CloseHidMonitor
ctl steer OpenHidMonitor 0
check "OpenHidMonitor steered to fail" shows '^OpenHidMonitor -> 0 error 0$' call "$hid" OpenHidMonitor
ctl steer OpenHidMonitor -
sed 's/\r$//' "$WINEPREFIX/drive_c/KorvenSim/calls.log" >"$logs/calls.log" 2>/dev/null
check "the libraries' calls are logged in order" \
  test "$(paste -sd'|' "$logs/calls.log")" = "$(paste -sd'|' <<'CALLS'
IsDeviceInstalled -> 1
AddUSBAudioFilter -> 1
AddUSBAudioFilter -> 0, error -202
IsDeviceInstalled -> 0
AddUSBAudioFilter -> 0, error -200
OpenHidMonitor -> 1
power key starts: nothing
CloseHidMonitor
OpenHidMonitor -> 0
CALLS
)"

# Handles are counted and all were closed; reset returns to power-on.
check "no handle left open" shows '^handles=0$' state
ctl reset
check "reset: filter off" shows '^filter=off$' state
check "reset: gains at unity" shows '^gain.RR=1$' state
check "reset: the log is empty" says "" log

# Uninstalling takes everything away again.
check "uninstalls" "$here/uninstall_sim.sh"
gone() {
  ! wine "$build/sim/korvenctl.exe" wait-driver 500 >"$out" 2>&1 &&
    ! wine "$build/sim/korvenctl.exe" open >>"$out" 2>&1
}
check "the driver is gone" gone
check "the files are gone" test ! -e "$WINEPREFIX/drive_c/KORVEN" -a \
  ! -e "$WINEPREFIX/drive_c/windows/system32/drivers/korvensim.sys"
finish
