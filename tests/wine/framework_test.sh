#!/usr/bin/env bash
# The framework tests on real windows: korven_framework_tests.exe (the tests of
# tests/framework/both_backends) under Wine, in a private prefix on a virtual X display.
#   tests/wine/framework_test.sh [BUILD_DIR]     (default: build/windows-i686)
# Prints a PASS or FAIL line per test and "N passed, M failed"; exits non-zero when one fails.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine_env.sh"
build="$(korven_build_dir "${1:-}")" || exit 1
korven_on_display "${BASH_SOURCE[0]}" "$build"
korven_wine_env "$build" wine-framework
logs="$KORVEN_WINE_ROOT/logs"
source "$here/checks.sh"

exe="$build/tests/wine/framework/korven_framework_tests.exe"
out="$logs/framework.out"
check "the framework test program is built" test -f "$exe"
[ "$failed" -eq 0 ] && check "Wine prefix is ready" korven_wine_prefix
if [ "$failed" -eq 0 ]; then
  timeout 600 wine "$exe" >"$out" 2>&1
  status=$?
  sed -i 's/\r$//' "$out"
  # GoogleTest's verdict on each test, with what a failed one said.
  test_name() { local name="${1:13}"; echo "${name% (*}"; }
  while IFS= read -r line; do
    case "$line" in
      "[ RUN      ] "*) : >"$logs/test.out" ;;
      "[       OK ] "*) check "$(test_name "$line")" true ;;
      "[  FAILED  ] "*" ms)") check_detail="$logs/test.out" check "$(test_name "$line")" false ;;
      *) echo "$line" >>"$logs/test.out" ;;
    esac
  done <"$out"
  tail -n 5 "$out" >"$logs/end.out"
  check_detail="$logs/end.out" check "the test program ends with success" test "$status" -eq 0
fi
wineserver -k >/dev/null 2>&1
checks_summary
