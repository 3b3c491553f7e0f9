#!/usr/bin/env bash
# Smoke test of korven.exe under Wine: starts the program in a private prefix on a virtual
# X display, checks the Filter page's window and the settings it stores, then closes it.
#   tests/wine/smoke_test.sh [BUILD_DIR]     (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
build="${1:-$source_dir/build/windows-i686}"
build="$(cd "$build" 2>/dev/null && pwd)" || { echo "no build folder: ${1:-build/windows-i686}" >&2; exit 1; }

# Everything (server, prefix, program, probe) runs on one X display.
if [ -z "${KORVEN_SMOKE_DISPLAY:-}" ]; then
  export KORVEN_SMOKE_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}" "$build"
fi

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

source "$here/wine_env.sh"
korven_wine_env "$build" wine-smoke
logs="$KORVEN_WINE_ROOT/logs"

passed=0
failed=0
check() {  # check NAME COMMAND...
  local name="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}
finish() {
  wineserver -k >/dev/null 2>&1
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit $?
}

backend_check="$build/tests/wine/korven_backend_check.exe"
check "the Windows programs are built" test -f "$exe" -a -f "$probe" -a -f "$backend_check"
[ "$failed" -eq 0 ] || finish

check "Wine prefix is ready" korven_wine_prefix
[ "$failed" -eq 0 ] || finish
# Keep one server for every call below; it goes with wineserver -k at the end.
wineserver -p
# The window system on real windows, one line per check of its contract.
wine "$backend_check" >"$logs/backend.out" 2>&1
sed -i 's/\r$//' "$logs/backend.out"
grep -E '^(PASS|FAIL) ' "$logs/backend.out" | sed 's/^\(PASS\|FAIL\) /\1 window system: /'
passed=$((passed + $(grep -c '^PASS ' "$logs/backend.out")))
failed=$((failed + $(grep -c '^FAIL ' "$logs/backend.out")))
if ! grep -q '^0 failed$' "$logs/backend.out"; then
  failed=$((failed + 1))
  echo "FAIL window system checks ran to the end"
fi

# The settings must come from the program itself, not from an earlier run.
wine reg delete 'HKLM\SOFTWARE\TALVOR' /f "${reg_view[@]}" >"$logs/reg-delete.out" 2>&1
# One media player installed, as its own set-up registers it: discovery must find it there.
wine reg delete 'HKLM\SOFTWARE\InterVideo' /f "${reg_view[@]}" >>"$logs/reg-delete.out" 2>&1
wine reg add 'HKLM\SOFTWARE\InterVideo\WinDVD' /v PATH /t REG_SZ \
  /d 'C:\Program Files\InterVideo\DVD4' /f "${reg_view[@]}" >"$logs/reg-add.out" 2>&1

wine "$exe" >"$logs/korven.out" 2>&1 &
korven_pid=$!

probe() {  # probe NAME ARGS... : output in $logs/NAME.out
  local name="$1"
  shift
  wine "$probe" "$@" >"$logs/$name.out" 2>&1
  local status=$?
  sed -i 's/\r$//' "$logs/$name.out"
  return $status
}

failed_before=$failed
check "the Filter page appears" probe wait wait Filter 30000
if [ "$failed" -eq "$failed_before" ]; then
  sleep 1  # let the first paint finish for the screenshot
  probe dump dump Filter
  control_text() { grep -q "^control id=.* class=$1 .*text=$2\$" "$logs/dump.out"; }
  check "the Filter page lives inside the program's window" \
    grep -q '^root class=#32770 visible=1 ' "$logs/dump.out"
  # Without a device the Filter page refuses activation and the sheet moves on to the next
  # page, the Remote Controller.
  check "the Filter page is hidden" grep -q '^dialog class=#32770 visible=0 ' "$logs/dump.out"
  check "check box 'Enable Filter'" control_text Button "Enable Filter"
  check "group 'Output Filter'" control_text Button "Output Filter"
  check "group 'Bass Output Control'" control_text Button "Bass Output Control"
  check "radio '2.1 Speakers'" control_text Button "2.1 Speakers"
  check "radio '5.1 Speakers(ZEP)'" control_text Button "5.1 Speakers(ZEP)"
  check "radio '120Hz'" control_text Button 120Hz
  check "radio '300Hz'" control_text Button 300Hz
  check "radio '450Hz'" control_text Button 450Hz
  check "label 'Playing Source is:'" control_text Static "Playing Source is:"
  import -window root "$build/wine-smoke.png" >"$logs/import.out" 2>&1 ||
    echo "note: no screenshot ($logs/import.out)"

  wine reg query 'HKLM\SOFTWARE\TALVOR\KORVEN\Filter' "${reg_view[@]}" >"$logs/registry.out" 2>&1
  sed -i 's/\r$//' "$logs/registry.out"
  reg_value() { grep -Eq "^ +$1 +REG_DWORD +$2\b" "$logs/registry.out"; }
  check "stored EnableFilter=1" reg_value EnableFilter 0x1
  check "stored OutputMode=1" reg_value OutputMode 0x1
  check "stored BassOutputMode=0" reg_value BassOutputMode 0x0

  # The Remote Controller page: the one installed player became the power key's choice.
  probe remote dump "Remote Controller"
  remote_control() { grep -q "^control id=$1 class=$2 visible=1 enabled=$3 check=$4 text=$5\$" \
    "$logs/remote.out"; }
  check "the Remote Controller page is shown" \
    grep -q '^dialog class=#32770 visible=1 ' "$logs/remote.out"
  check "box 'WinDVD ' checked and enabled" remote_control 1027 Button 1 1 "WinDVD "
  check "box 'Power DVD' cleared and disabled" remote_control 1028 Button 0 0 "Power DVD"
  check "box 'Winamp ' cleared and disabled" remote_control 1029 Button 0 0 "Winamp "
  check "box 'Winrip' cleared and disabled" remote_control 1064 Button 0 0 "Winrip"
  check "box 'Windows Media Player' cleared and disabled" \
    remote_control 1030 Button 0 0 "Windows Media Player"
  check "power-key list shows 'WinDVD'" remote_control 1061 ComboBox 1 0 WinDVD
  check "stored DefaultSelect=1" reg_value DefaultSelect 0x1
  check "stored WinDVDEnable=1" reg_value WinDVDEnable 0x1
  check "stored ExistMPlayer=0x10001" reg_value ExistMPlayer 0x10001
  check "stored OneKeyStart" grep -Eq \
    '^ +OneKeyStart +REG_SZ +C:\\Program Files\\InterVideo\\DVD4\\WINDVD\.EXE$' "$logs/registry.out"

  check "the program accepts WM_CLOSE" probe close close Filter
fi

# The program ends by itself after the close; a stuck one fails the check.
ended() {
  for _ in $(seq 1 100); do
    kill -0 "$korven_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
check "the program ends" ended
wait "$korven_pid" 2>/dev/null
finish
