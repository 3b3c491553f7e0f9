#!/usr/bin/env bash
# Removes what install_sim.sh put into the Wine prefix of the environment: the second host
# controller's device (korvenctl controller add), the service (after stopping it), the driver file, C:\KORVEN, C:\KorvenSim and the libraries' steering values.
#   sim/uninstall_sim.sh
set -u
: "${WINEPREFIX:?set up the Wine environment first}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/sim_wine.sh"

logs="$(korvensim_logs)"
# The second host controller's device first, while its driver still serves it.
if [ -f "$WINEPREFIX/drive_c/KorvenSim/korvenctl.exe" ]; then
  korvensim_ctl controller remove >"$logs/controller-remove.out" 2>&1
fi
korvensim_service stop >"$logs/sc-stop.out" 2>&1
korvensim_service delete >"$logs/sc-delete.out" 2>&1
korvensim_reg delete 'HKLM\SOFTWARE\KORVEN Simulation' /f >"$logs/reg-steering.out" 2>&1
drive_c="$WINEPREFIX/drive_c"
rm -rf "$drive_c/KORVEN" "$drive_c/KorvenSim" "$drive_c/windows/system32/drivers/korvensim.sys"
if korvensim_service query >"$logs/sc-query.out" 2>&1; then
  echo "the service KorvenSim is still there; see $logs/sc-delete.out" >&2
  exit 1
fi
echo "KORVEN simulation removed from $WINEPREFIX"
