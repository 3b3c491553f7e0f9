#!/usr/bin/env bash
# Builds korven.exe (32-bit) and runs it under Wine in a private prefix inside the build
# folder, on the current X display. Installs what is missing first.
#   tools/run_korven.sh            (needs $DISPLAY)
#   xvfb-run -a tools/run_korven.sh   (no screen: runs on a hidden display)
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install_packages.sh
korven_install_packages "${KORVEN_WINDOWS_PACKAGES[@]}" || exit 1

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
No X display ($DISPLAY is not set). Either run this from a graphical desktop (or ssh -X),
or run it on a hidden display and look at it with screenshots:
  xvfb-run -a -s "-screen 0 1024x768x24" tools/run_korven.sh
MSG
  exit 1
fi

cmake --preset windows-i686 && cmake --build --preset windows-i686 -j "$(nproc)" || exit 1

source tests/wine/wine_env.sh
korven_wine_env build/windows-i686 wine-run
echo "Preparing the Wine prefix in $WINEPREFIX ..."
korven_wine_prefix || { echo "Wine prefix set-up failed; see $KORVEN_WINE_ROOT/logs" >&2; exit 1; }

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

echo "Running korven.exe (Wine output: $KORVEN_WINE_ROOT/logs/korven.out)"
wine "$exe" >"$KORVEN_WINE_ROOT/logs/korven.out" 2>&1
status=$?
wineserver -w
exit $status
