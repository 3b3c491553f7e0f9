#!/usr/bin/env bash
# Builds and runs every test: the native suite (headless, sanitizers), the framework tests on
# real windows under Wine, the Wine smoke test of korven.exe, the end-to-end tests on the
# simulated device and the setup program's test. Installs what is missing first. Exits
# non-zero if anything fails.
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install_packages.sh
korven_install_packages "${KORVEN_WINDOWS_PACKAGES[@]}" "${KORVEN_NATIVE_PACKAGES[@]}" || exit 1

jobs="$(nproc 2>/dev/null || echo 2)"
failures=()
step() {  # step NAME COMMAND...
  local name="$1"
  shift
  echo "== $name"
  "$@" || failures+=("$name")
}

native() {
  cmake --preset native && cmake --build --preset native -j "$jobs" &&
    ctest --preset native -j "$jobs"
}
windows() {
  cmake --preset windows-i686 && cmake --build --preset windows-i686 -j "$jobs" &&
    cmake --build --preset windows-i686 -j "$jobs" --target korven_framework_tests &&
    cmake --build --preset windows-i686 --target installer
}

step "native tests" native
step "fuzzers (30 s each)" bash fuzz/run_fuzzers.sh 30
step "windows-i686 build" windows
# Each Wine test's prefix is over a gigabyte: once the test has ended only its logs are kept
# (KORVEN_KEEP_PREFIXES=1 keeps them). The pristine prefix the tests copy stays.
wine_step() {  # wine_step NAME COMMAND...
  step "$@"
  [ -n "${KORVEN_KEEP_PREFIXES:-}" ] && return 0
  local prefix
  for prefix in build/windows-i686/wine-*/prefix; do
    case "$prefix" in */wine-sim-base-*) ;; *) rm -rf "$prefix" ;; esac
  done
}

wine_step "framework tests on real windows (Wine)" bash tests/wine/framework_test.sh build/windows-i686
wine_step "Wine smoke test" bash tests/wine/smoke_test.sh build/windows-i686
wine_step "simulated KORVEN self-test" bash sim/self_test.sh build/windows-i686
for test in tests/wine_e2e/*_test.sh; do
  [ -f "$test" ] && wine_step "Wine end-to-end $(basename "$test" .sh)" bash "$test" build/windows-i686
done
wine_step "Wine setup program test" bash installer/tests/installer_test.sh build/windows-i686

if [ ${#failures[@]} -ne 0 ]; then
  echo "FAILED: ${failures[*]}"
  exit 1
fi
echo "All tests passed."
