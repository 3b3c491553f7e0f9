#!/usr/bin/env bash
# Smoke test of korven.exe under Wine, without the device: starts the program in a private
# prefix on a virtual X display, checks its tray state, the tray menu, the About box and the
# second start, ends it with Exit and reads the settings it stored.
#   tests/wine/smoke_test.sh [BUILD_DIR]     (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine_env.sh"
build="$(korven_build_dir "${1:-}")" || exit 1
korven_on_display "${BASH_SOURCE[0]}" "$build"

exe="$build/app/korven.exe"
probe="$build/tests/wine/korven_probe.exe"

# The registry view the program writes: a 64-bit program in a 64-bit prefix sees the 64-bit
# one, while Debian's `wine reg` is a 32-bit program.
pe_machine() {  # the PE header's machine field, e.g. 8664 or 14c
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}
reg_view=()
if [ -f "$exe" ] && [ "$(pe_machine "$exe")" = 8664 ]; then
  reg_view=(/reg:64)
  export KORVEN_WINEARCH="${KORVEN_WINEARCH:-win64}"
fi

korven_wine_env "$build" wine-smoke
logs="$KORVEN_WINE_ROOT/logs"

source "$here/checks.sh"
finish() {
  wineserver -k >/dev/null 2>&1
  checks_summary
  exit $?
}

check "the Windows programs are built" test -f "$exe" -a -f "$probe"
[ "$failed" -eq 0 ] || finish

check "Wine prefix is ready" korven_wine_prefix
[ "$failed" -eq 0 ] || finish
# Keep one server for every call below; it goes with wineserver -k at the end.
wineserver -p

# The settings must come from the program itself, not from an earlier run.
wine reg delete 'HKLM\SOFTWARE\TALVOR' /f "${reg_view[@]}" >"$logs/reg-delete.out" 2>&1

probe() {  # probe NAME ARGS... : output in $logs/NAME.out
  local name="$1"
  shift
  wine "$probe" "$@" >"$logs/$name.out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$logs/$name.out"
  return $status
}
# ended PID: the process ends within ten seconds.
ended() {
  for _ in $(seq 1 100); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
main='top:KORVEN: Control Panel'
tray_notify=0x40A
menu_nodevice=146
menu_closed=139
menu_open=222
command() { probe command post "$main" 0x111 "$1" 0; }  # a menu command to the main window
# shows CAPTION TEXT: the dialog holds a visible control with exactly that text.
shows() {
  probe dump dump "$1" && grep -q "^control id=-\?[0-9]* class=[A-Za-z]* visible=1 .* text=$2\$" \
    "$logs/dump.out"
}

wine "$exe" >"$logs/korven.out" 2>&1 &
korven_pid=$!

failed_before=$failed
# No filter library beside the program: it says so, then runs as without the device.
check "the missing filter library is reported" probe warning wait "top:KORVEN : WARNING" 30000
check "with 'DLL-driver is not found.'" \
  shows "top:KORVEN : WARNING" "DLL-driver is not found. You may need re-install it."
check "OK answers it" probe warning-ok click "top:KORVEN : WARNING" 1
check "the main window exists" probe main wait "$main" 10000
[ "$failed" -eq "$failed_before" ] || { kill "$korven_pid" 2>/dev/null; finish; }
check "the main window hides itself" probe hidden hidden "$main" 5000
check "the main window holds the tab row and 'Close'" eval \
  "probe dump dump '$main' && grep -q '^control id=12320 class=SysTabControl32 ' '$logs/dump.out' &&
   grep -q '^control id=1002 class=Button .* text=Close\$' '$logs/dump.out'"
check "the tray holds the no-device icon ($menu_nodevice)" probe tray tray "$main" $menu_nodevice
check "and not the device's icons" \
  eval "! probe tray tray '$main' $menu_closed && ! probe tray tray '$main' $menu_open"

# The tray menu, chosen with the keyboard: Open Setting and Test Speaker are grayed, the
# third item is About.
check "a click on the icon opens the tray menu" \
  eval "probe notify post '$main' $tray_notify $menu_nodevice 0x204 && probe menu menu 5000"
sleep 0.3
import -window root "$build/wine-smoke.png" >"$logs/import.out" 2>&1 ||
  echo "note: no screenshot ($logs/import.out)"
check "Down, Down, Down, Return chooses About" \
  eval "probe keys menu-keys down down down return && probe menu-gone menu-gone 5000"
check "the About box shows" probe about shown "top:About" 5000
check "with 'Version 1.5.1'" shows "top:About" "KORVEN *Version 1\\.5\\.1 *Dec, 2002"
check "OK hides it" eval "probe about-ok click 'top:About' 1 && probe about hidden 'top:About' 5000"
check "the About command shows it again" \
  eval "command 32776 && probe about shown 'top:About' 5000"
probe about-ok click "top:About" 1

# A second start while the first runs.
wine "$exe" >"$logs/korven-2.out" 2>&1 &
second_pid=$!
check "a second start says so" probe error wait "top:KORVEN : ERROR" 30000
check "with 'Application is already running!'" \
  shows "top:KORVEN : ERROR" "Application is already running!"
check "OK answers it" probe error-ok click "top:KORVEN : ERROR" 1
check "the second start ends" ended "$second_pid"
wait "$second_pid" 2>/dev/null
check "the first one still runs" eval "kill -0 $korven_pid && probe main wait '$main' 1000"

# Exit is the one way out.
check "Exit is taken" command 32771
check "the program ends" ended "$korven_pid"
wait "$korven_pid"
check "with exit code 0" test $? -eq 0
check "its windows are gone" probe main-gone gone "$main" 1000

wine reg query 'HKLM\SOFTWARE\TALVOR\KORVEN\Filter' "${reg_view[@]}" >"$logs/registry.out" 2>&1
sed -i 's/\r$//' "$logs/registry.out"
reg_value() { grep -Eq "^ +$1 +REG_DWORD +$2\$" "$logs/registry.out"; }
check "stored EnableFilter=1" reg_value EnableFilter 0x1
check "stored OutputMode=1" reg_value OutputMode 0x1
check "stored BassOutputMode=0" reg_value BassOutputMode 0x0
check "stored SystemVolume" grep -Eq '^ +SystemVolume +REG_DWORD +0x[0-9a-f]+$' "$logs/registry.out"
check "stored FilterVolume" grep -Eq '^ +FilterVolume +REG_DWORD +0x[0-9a-f]+$' "$logs/registry.out"
for channel in L R C LFE RL RR; do
  check "stored Volume$channel=1.0" reg_value "Volume$channel" 0x3f800000
done

# Nothing of Wine is left running once the test is done.
wineserver -k >/dev/null 2>&1
server_gone() {
  for _ in $(seq 1 50); do
    compgen -G "$TMPDIR/wine-*/server-*/socket" >/dev/null || return 0
    sleep 0.1
  done
  return 1
}
check "no wineserver is left" server_gone
finish
