#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time on its seed corpus.
#   fuzz/run_fuzzers.sh SECONDS           each fuzzer for SECONDS seconds (CI: 60)
#   fuzz/run_fuzzers.sh --runs N          each fuzzer for N executions (10^6: --runs 1000000)
# New inputs go to build/fuzz/corpus/<name>, never into the seeds kept in fuzz/corpus/<name>.
# Exits non-zero when a fuzzer finds a crash, a leak or a sanitizer report.
set -eu
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ "${1:-}" = "--runs" ]; then
  limit=(-runs="${2:?number of executions}")
else
  limit=(-max_total_time="${1:-60}")
fi
build=build/fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" >/dev/null
cmake --build "$build" --target fuzz_usb_walk fuzz_player_strings fuzz_settings

status=0
for name in usb_walk player_strings settings; do
  work="$build/corpus/$name"
  mkdir -p "$work" "$build/artifacts/$name"
  echo "== fuzz_$name ${limit[*]}"
  if ! "$build/fuzz/fuzz_$name" "${limit[@]}" -max_len=4096 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name/" "$work" "fuzz/corpus/$name" 2>"$build/$name.log"; then
    tail -n 60 "$build/$name.log"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^Done" "$build/$name.log" || true
done
exit $status
