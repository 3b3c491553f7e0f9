#!/usr/bin/env bash
# Installs the simulated KORVEN into the Wine prefix of the environment ($WINEPREFIX, and
# the same TMPDIR as every other call for that prefix): korven.exe and the stand-in
# libraries in C:\KORVEN, korvenctl in C:\KorvenSim, and the driver as the kernel service
# KorvenSim, started and answering when this returns.
#   sim/install_sim.sh [--demand] BUILD_DIR
# BUILD_DIR is a Windows build (app/korven.exe, sim/...). The service starts with every
# boot of the prefix unless --demand is given. A 64-bit prefix gets the 64-bit driver,
# which serves the 32-bit program too.
set -u
start_type=2
if [ "${1:-}" = "--demand" ]; then
  start_type=3
  shift
fi
[ $# -eq 1 ] || { echo "usage: $0 [--demand] BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)" || exit 2
: "${WINEPREFIX:?set up the Wine environment first}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/sim_wine.sh"

logs="$(korvensim_logs)"
drive_c="$WINEPREFIX/drive_c"
arch="$(korvensim_prefix_arch)"
driver="$build/sim/driver-$arch/korvensim.sys"
for file in "$driver" "$build/sim/Zelfilter.dll" "$build/sim/hidrctrl.dll" \
            "$build/sim/korvenctl.exe"; do
  [ -f "$file" ] || { echo "missing $file: build the sim targets first" >&2; exit 1; }
done

# An earlier installation goes first, so that the new driver is the one that runs.
if korvensim_service query >"$logs/sc-query.out" 2>&1; then
  "$here/uninstall_sim.sh" >"$logs/uninstall.out" 2>&1
fi

mkdir -p "$drive_c/KORVEN" "$drive_c/KorvenSim" "$drive_c/windows/system32/drivers"
[ -f "$build/app/korven.exe" ] && cp "$build/app/korven.exe" "$drive_c/KORVEN/"
cp "$build/sim/Zelfilter.dll" "$build/sim/hidrctrl.dll" "$drive_c/KORVEN/"
cp "$build/sim/korvenctl.exe" "$here/korvensim_hc.inf" "$drive_c/KorvenSim/"
cp "$driver" "$drive_c/windows/system32/drivers/korvensim.sys"

korvensim_service create type= kernel start= demand \
  binPath= 'C:\windows\system32\drivers\korvensim.sys' >"$logs/sc-create.out" 2>&1 ||
  { echo "sc create failed; see $logs/sc-create.out" >&2; exit 1; }
# Wine's sc has no "config": the start type is set in the service's key.
korvensim_reg add 'HKLM\System\CurrentControlSet\Services\KorvenSim' /v Start /t REG_DWORD \
  /d "$start_type" /f >"$logs/reg-start.out" 2>&1
korvensim_service start >"$logs/sc-start.out" 2>&1 ||
  { echo "sc start failed; see $logs/sc-start.out" >&2; exit 1; }
korvensim_ctl wait-driver 10000 >"$logs/wait-driver.out" 2>&1 ||
  { echo "the driver does not answer; see $logs/wait-driver.out" >&2; exit 1; }
echo "KORVEN simulation installed in $WINEPREFIX ($arch driver)"
