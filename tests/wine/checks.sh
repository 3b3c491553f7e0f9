# shellcheck shell=bash
# Sourced by the Wine test scripts: PASS/FAIL lines and the closing "N passed, M failed".
#   check NAME COMMAND...   runs COMMAND; on a failure shows the file named by $check_detail
#                           (when set and not empty), which is emptied after each check when
#                           $check_detail_per_check is set
#   checks_summary          prints the closing line; fails when a check failed

passed=0
failed=0

check() {
  local name="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    if [ -n "${check_detail:-}" ] && [ -s "$check_detail" ]; then
      sed 's/^/     | /' "$check_detail"
    fi
  fi
  if [ -n "${check_detail_per_check:-}" ]; then : >"$check_detail"; fi
}

checks_summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
