#!/usr/bin/env bash
# End-to-end test of the program's USB walk on the real platform calls under Wine, against
# the simulated host controller: the KORVEN on a root port, behind an external hub, with
# each product family, pulled out and plugged back.
#   tests/wine_e2e/usb_walk_test.sh [BUILD_DIR]   (default: build/windows-i686)
# Prints "N passed, M failed" and exits non-zero when a check fails.
set -u
# The build folder and a display come from the common part.
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_begin "$build" wine-e2e-usb

walk_exe="$build/tests/wine_e2e/korven_usb_walk_check.exe"
check "the walk check is built" test -f "$walk_exe"
# walk RESULT: the program's walk says "found" or "not found".
walk() {
  wine "$walk_exe" >"$e2e_logs/walk.out" 2>&1
  sed -i 's/\r$//' "$e2e_logs/walk.out"
  { echo "the walk says:"; cat "$e2e_logs/walk.out"; echo "the tree:"; } >"$e2e_logs/why"
  korvensim_ctl usb >>"$e2e_logs/why" 2>&1
  [ "$(cat "$e2e_logs/walk.out")" = "$1" ]
}

scenario "the KORVEN on a root hub port"
ctl topology root 0x1101
check "found" walk found
ctl unplug --quiet
check "pulled out: not found" walk "not found"
ctl replug --quiet
check "plugged back: found" walk found

scenario "the KORVEN behind an external hub"
ctl topology hub
check "found below the hub" walk found
ctl unplug --quiet
check "pulled out: not found" walk "not found"
ctl replug --quiet

scenario "product families"
for family in 0x1100 0x11FF 0x1601 0x1701; do
  ctl topology root "$family"
  check "product $family: found" walk found
done
for family in 0x1201 0x1001 0x1801; do
  ctl topology hub "$family"
  check "product $family: not found" walk "not found"
done

e2e_finish
