#!/usr/bin/env bash
# Builds korven.exe (32-bit) and runs it under Wine in a private prefix inside the build
# folder, on the current X display. Installs what is missing first.
#   tools/run_korven.sh   on the user's display; without one, on a hidden display (Xvfb)
#                         for a few seconds, leaving a screenshot in build/windows-i686/wine-run
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install_packages.sh
korven_install_packages "${KORVEN_WINDOWS_PACKAGES[@]}" || exit 1

# Without a screen the program runs on a hidden display for a few seconds and leaves a
# picture of it.
if [ -z "${DISPLAY:-}" ]; then
  if [ -z "${KORVEN_RUN_HIDDEN:-}" ] && command -v xvfb-run >/dev/null; then
    echo "No X display: running on a hidden one and taking a screenshot."
    KORVEN_RUN_HIDDEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}"
  fi
  echo "No X display (\$DISPLAY is not set) and no xvfb-run." >&2
  exit 1
fi

cmake --preset windows-i686 && cmake --build --preset windows-i686 -j "$(nproc)" || exit 1

source tests/wine/wine_env.sh
korven_wine_env build/windows-i686 wine-run
echo "Preparing the Wine prefix in $WINEPREFIX ..."
korven_wine_prefix || { echo "Wine prefix set-up failed; see $KORVEN_WINE_ROOT/logs" >&2; exit 1; }

# The driver lives as long as the wineserver: keep one server for the whole run.
wineserver -p
stop_server() { wineserver -k >/dev/null 2>&1; }
trap stop_server EXIT

# The simulated device (driver and companion libraries), when this build has it; without
# it the program runs as on a machine where the device is not plugged in.
exe=build/windows-i686/app/korven.exe
if [ -f sim/install_sim.sh ] && [ -f build/windows-i686/sim/korvenctl.exe ]; then
  echo "Installing the simulated KORVEN ..."
  if bash sim/install_sim.sh build/windows-i686; then
    exe='C:\KORVEN\korven.exe'
  else
    echo "The simulated device could not be installed; running without it." >&2
  fi
else
  echo "No simulated device in this build: running as without the device."
fi

log="$KORVEN_WINE_ROOT/logs/korven.out"
if [ -z "${KORVEN_RUN_HIDDEN:-}" ]; then
  echo "Running korven.exe: its icon is in the notification area (Wine output: $log)."
  echo "Choose Exit in the icon's menu to end it."
  wine "$exe" >"$log" 2>&1
  exit $?
fi

# On the hidden display: the settings opened from outside, a picture, then Exit.
probe() { wine build/windows-i686/tests/wine/korven_probe.exe "$@" >>"$KORVEN_WINE_ROOT/logs/probe.out" 2>&1; }
main='top:KORVEN: Control Panel'
wine "$exe" >"$log" 2>&1 &
korven=$!
shot="$KORVEN_WINE_ROOT/korven.png"
if probe wait "$main" 30000 && probe hidden "$main" 5000; then
  probe post "$main" 0x111 32774 0  # Open Setting
  probe shown "$main" 5000
  sleep 1
  import -window root "$shot" && echo "Screenshot of the running program: $shot"
  probe post "$main" 0x111 32771 0  # Exit
else
  import -window root "$shot"
  echo "korven.exe did not come up; see $log and $shot" >&2
  kill "$korven" 2>/dev/null
fi
wait "$korven"
