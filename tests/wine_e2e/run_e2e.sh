#!/usr/bin/env bash
# Every end-to-end test of korven.exe on the simulated KORVEN under Wine, each in its own
# fresh prefix inside the build folder.
#   tests/wine_e2e/run_e2e.sh [BUILD_DIR]   (default: build/windows-i686)
# Exits non-zero when a test fails.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../../build/windows-i686}"
status=0
for test in usb_walk_test filter_page_test control_panel_test speaker_test_test master_volume_test \
  remote_page_test todays_windows_test; do
  echo "== $test"
  bash "$here/$test.sh" "$build" || status=1
done
exit $status
