# shellcheck shell=bash
# Sourced by the end-to-end tests: one Wine prefix with the simulated KORVEN installed,
# korven.exe started and closed from outside, and checks that print PASS/FAIL lines.
#   e2e_begin BUILD_DIR NAME   fresh prefix BUILD_DIR/NAME, persistent server, simulation
#   e2e_finish                 ends the test; prints "N passed, M failed"; exits
# The caller runs on an X display (xvfb-run) from start to end.

e2e_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
e2e_source="$(cd "$e2e_here/../.." && pwd)"

# The calling test's build folder (its first argument, build/windows-i686 by default), and a
# display: without one the test runs itself again under Xvfb.
build="${1:-$e2e_source/build/windows-i686}"
build="$(cd "$build" 2>/dev/null && pwd)" || { echo "no build folder: ${1:-}" >&2; exit 1; }
if [ -n "${KORVEN_SCREENSHOTS:-}" ]; then
  mkdir -p "$KORVEN_SCREENSHOTS" && KORVEN_SCREENSHOTS="$(cd "$KORVEN_SCREENSHOTS" && pwd)"
  export KORVEN_SCREENSHOTS
fi
if [ -z "${KORVEN_E2E_DISPLAY:-}" ]; then
  export KORVEN_E2E_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[1]}" "$build"
fi
source "$e2e_source/sim/sim_wine.sh"

source "$e2e_source/tests/wine/checks.sh"
source "$e2e_source/tests/wine/pulse.sh"
korven_pid=
korven_runs=0

scenario() { echo "== $*"; }

e2e_begin() {
  local build="$1" name="$2"
  korvensim_fresh_prefix "$build" "$name" || { echo "no Wine prefix" >&2; exit 1; }
  e2e_logs="$KORVEN_WINE_ROOT/logs"
  if [ -n "${e2e_sound:-}" ]; then korven_pulse_start || { echo "no sound server" >&2; exit 1; }; fi
  : >"$e2e_logs/why"
  # What the last probe said explains a failed check.
  check_detail="$e2e_logs/why"
  check_detail_per_check=1
  probe_exe="$build/tests/wine/korven_probe.exe"
  wineserver -p
  check "the simulated KORVEN installs" "$e2e_source/sim/install_sim.sh" --demand "$build"
  check "korven.exe is installed beside the libraries" test -f "$WINEPREFIX/drive_c/KORVEN/korven.exe"
  check "the window probe is built" test -f "$probe_exe"
  [ "$failed" -eq 0 ] || e2e_finish
  ctl steer CallLog 'C:\KorvenSim\calls.log'
}

e2e_finish() {
  if [ -n "$korven_pid" ]; then stop_korven_forcibly; fi
  wineserver -k >/dev/null 2>&1
  korven_pulse_stop
  checks_summary
  exit $?
}

# ctl ARGS...: korvenctl, its output in $e2e_logs/ctl.out.
ctl() {
  korvensim_ctl "$@" >"$e2e_logs/ctl.out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$e2e_logs/ctl.out"
  return $status
}

# run_logged NAME PROGRAM ARGS...: a Windows program under Wine, its output in $e2e_logs/NAME.out,
# which a failing check shows.
run_logged() {
  local name="$1"
  shift
  wine "$@" >"$e2e_logs/$name.out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$e2e_logs/$name.out"
  cp "$e2e_logs/$name.out" "$e2e_logs/why"
  return $status
}
# probe ARGS...: the window probe, its output in $e2e_logs/probe.out.
probe() { run_logged probe "$probe_exe" "$@"; }

# The program's settings in the registry view of a 32-bit program.
forget_settings() {
  wine reg delete 'HKLM\SOFTWARE\TALVOR' /f >"$e2e_logs/reg-delete.out" 2>&1
}
# stored NAME VALUE: the Settings key holds the DWORD NAME = VALUE (0x...).
stored() {
  wine reg query 'HKLM\SOFTWARE\TALVOR\KORVEN\Filter' /v "$1" >"$e2e_logs/reg.out" 2>&1
  sed -i 's/\r$//' "$e2e_logs/reg.out"
  cp "$e2e_logs/reg.out" "$e2e_logs/why"
  grep -Eq "^ +$1 +REG_DWORD +$2\$" "$e2e_logs/reg.out"
}

# requests: the device's log without the source polls; compared with stdin, line by line.
requests() {
  local expected
  expected="$(cat)"
  ctl log --no-poll
  if [ "$(cat "$e2e_logs/ctl.out")" = "$expected" ]; then return 0; fi
  { echo "expected:"; echo "$expected"; echo "the device received:"; cat "$e2e_logs/ctl.out"; } \
    >"$e2e_logs/why"
  return 1
}
# device_state LINE...: every line is in the device's state.
device_state() {
  ctl state
  cp "$e2e_logs/ctl.out" "$e2e_logs/why"
  local line
  for line in "$@"; do grep -qxF "$line" "$e2e_logs/ctl.out" || return 1; done
}
# polled STATUS: the log has a source poll that ended with STATUS ("ok" or a status name).
polled() {
  ctl log --full
  grep -q "IOCTL_GET_SOURCE_CHANNELS in=0 out=4 $1\$" "$e2e_logs/ctl.out"
}

# control CAPTION ID FIELD=VALUE...: the control of the dialog shows those fields
# (visible, enabled, check, text).
control() {
  local caption="$1" id="$2" line field
  shift 2
  probe dump "$caption" || return 1
  line="$(grep "^control id=$id " "$e2e_logs/probe.out")" || return 1
  for field in "$@"; do
    case "$line" in
      *" $field "* | *" $field") ;;
      *) return 1 ;;
    esac
  done
}
# eventually SECONDS COMMAND...: the command succeeds within that time.
eventually() {
  local tries=$(($1 * 5))
  shift
  for _ in $(seq 1 "$tries"); do
    "$@" && return 0
    sleep 0.2
  done
  "$@"
}

# screenshot NAME [CAPTION]: NAME.png in $KORVEN_SCREENSHOTS when that is set: the
# top-level window of the dialog CAPTION, or the whole screen.
screenshot() {
  local dir="${KORVEN_SCREENSHOTS:-$e2e_logs/screenshots}" crop=()
  mkdir -p "$dir"
  if [ $# -ge 2 ]; then
    probe rect "$2" || return 1
    local _ left top right bottom
    read -r _ left top right bottom <"$e2e_logs/probe.out"
    crop=(-crop "$((right - left))x$((bottom - top))+$left+$top" +repage)
  fi
  sleep 0.5  # the last paint
  import -window root "${crop[@]}" "$dir/$1.png" >"$e2e_logs/import.out" 2>&1
}

click() {  # click CAPTION ID: BM_CLICK, answered when the handler has run
  probe click "$1" "$2" && grep -q "answered=1" "$e2e_logs/probe.out"
}
# click_into_box CAPTION ID BOX: a click whose handler shows the message box BOX; the
# click is left waiting while the box is up.
click_into_box() {
  wine "$probe_exe" click "$1" "$2" >"$e2e_logs/probe-click.out" 2>&1 &
  pending_click=$!
  probe wait "$3" 10000
}
# The click of click_into_box comes back once the box is answered.
click_returned() {
  wait "$pending_click"
}

# The program's windows and messages.
main='top:KORVEN: Control Panel'
speaker_test='top:KORVEN: Speaker Test'
speaker_exit=1076  # the Speaker Test's "&Exit"
tray_notify=0x40A
remote_page_message=0x40B
menu_nodevice=146
menu_closed=139
menu_open=222
command() { probe post "$main" 0x111 "$1" 0; }  # a tray menu command to the main window
open_settings() { command 32774 && probe shown "$main" 5000 && probe shown Volume 5000; }
close_settings() { command 32777 && probe hidden "$main" 5000; }
# tab INDEX CAPTION: the settings' tab row moves to page INDEX and the page CAPTION shows.
tab() { probe tab "$main" "$1" && probe shown "$2" 5000; }
# tray_icon ID: the notification area holds the program's icon ID (its menu's id), and
# only that one of the three.
tray_icon() {
  local id
  probe tray "$main" "$1" || return 1
  for id in $menu_nodevice $menu_closed $menu_open; do
    [ "$id" = "$1" ] && continue
    if probe tray "$main" "$id"; then echo "icon $id is there too" >"$e2e_logs/why"; return 1; fi
  done
}
# tray_menu ICON KEY...: a click on the tray icon ICON, then the keys in its menu.
tray_menu() {
  local icon="$1"
  shift
  probe post "$main" $tray_notify "$icon" 0x204 && probe menu 5000 &&
    probe menu-keys "$@" && probe menu-gone 5000
}

# korven.exe from its installed folder, as a user starts it: up when the main window has
# hidden itself in the notification area.
start_korven() {
  korven_runs=$((korven_runs + 1))
  wine 'C:\KORVEN\korven.exe' >"$e2e_logs/korven-$korven_runs.out" 2>&1 &
  korven_pid=$!
  probe wait "$main" 30000 && probe hidden "$main" 5000
}
korven_ended() {
  for _ in $(seq 1 100); do
    if ! kill -0 "$korven_pid" 2>/dev/null; then
      wait "$korven_pid" 2>/dev/null
      korven_pid=
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# Exit from the tray menu, the one way out; waits for the program to end.
close_korven() {
  command 32771 && korven_ended
}
# A program that would not end is ended here, so that nothing is left behind.
stop_korven_forcibly() {
  kill "$korven_pid" 2>/dev/null
  korven_ended || kill -9 "$korven_pid" 2>/dev/null
  korven_pid=
}

# After Exit: the driver got the exit reset (filter off, then every channel back to unity in
# the order LFE, C, R, L, RR, RL) and no handle is left open.
check_exit_reset() {
  check "the exit reset" requests <<'LOG'
IOCTL_FILTER_OFF
IOCTL_SET_GAIN_LFE 1
IOCTL_SET_GAIN_C 1
IOCTL_SET_GAIN_R 1
IOCTL_SET_GAIN_L 1
IOCTL_SET_GAIN_RR 1
IOCTL_SET_GAIN_RL 1
LOG
  check "no handle left open" device_state handles=0
}

# Listening: e2e_listen, before e2e_begin, gives the test's programs a sound server of the
# test's own (tests/wine/pulse.sh) and, where allowed, a higher priority, so that a busy machine
# does not leave gaps in what they play; record NAME records the server into
# $e2e_logs/NAME.raw; heard WORD... ends the recording, which must hold what the WORDs say
# (tests/wine_e2e/listen.py; what was heard is left in $e2e_logs/NAME.txt).
e2e_listen() {
  e2e_sound=1
  renice -n -10 -p $$ >/dev/null 2>&1
}
record() {
  recording="$e2e_logs/$1"
  korven_pulse_record "$recording.raw"
}
heard() {
  sleep 0.5  # the last sound's way through the server
  korven_pulse_record_end
  korven_pulse_heard "$recording.raw" "$@" >"$recording.txt" 2>&1
  local status=$?
  cp "$recording.txt" "$e2e_logs/why"
  return $status
}
# timed_click CAPTION ID: click, with the time before it in $click_began and after it in
# $click_ended (seconds), between which the handler ran.
timed_click() {
  click_began="$(date +%s.%N)"
  click "$1" "$2"
  local status=$?
  click_ended="$(date +%s.%N)"
  return $status
}
# sleep_after TIME SECONDS: sleeps until SECONDS after TIME (as $click_ended), if that is ahead.
sleep_after() {
  sleep "$(awk -v t="$1" -v d="$2" -v now="$(date +%s.%N)" \
    'BEGIN { left = t + d - now; printf "%.3f", (left > 0 ? left : 0) }')"
}
