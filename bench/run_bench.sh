#!/usr/bin/env bash
# Instructions per 200 ms tray poll, per 300 ms Filter page tick and per start-up, counted by
# valgrind's callgrind on an optimised headless build (deterministic from run to run).
#   bench/run_bench.sh
set -eu
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEN_BENCH=ON >/dev/null
cmake --build "$build" --target tick_bench >/dev/null
ticks=1000
count() {  # count FUNCTION [ARGS...]: instructions inside FUNCTION
  local fn="$1"
  shift
  local out="$build/callgrind.$fn.out"
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect="$fn" \
    "$build/bench/tick_bench" "$@" >/dev/null 2>&1
  callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
}
poll=$(count '*TrayPollTicks*')
page=$(count '*FilterPageTicks*')
run=$(count '*RunProgram*' startup)
echo "instructions per 200 ms tray tick (poll and page display): $((poll / ticks))"
echo "instructions per 300 ms Filter page tick: $((page / ticks))"
echo "instructions for start-up to the tray and exit: $run"
