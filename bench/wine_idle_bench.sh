#!/usr/bin/env bash
# korven.exe idle in the tray under Wine, side by side with an empty Win32 program (one
# visible dialog, a message loop, a 200 ms timer: bench/empty_win32.c):
#   - CPU time (utime+stime of the program's Wine process) over IDLE_SECONDS of idling,
#     with the simulated device plugged in and a 2-channel source;
#   - peak RSS (VmHWM) of that process;
#   - start-up: korven.exe to its tray icon against the empty program to its first window,
#     RUNS times each, median.
#   bench/wine_idle_bench.sh [BUILD_DIR]   (default: build/windows-i686)
# Environment: IDLE_SECONDS (60), RUNS (7). Everything stays in BUILD_DIR/wine-idle-bench.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/.." && pwd)"
build="${1:-$source_dir/build/windows-i686}"
idle_seconds="${IDLE_SECONDS:-60}"
runs="${RUNS:-7}"

if [ -z "${KORVEN_BENCH_DISPLAY:-}" ]; then
  if [ ! -f "$build/app/korven.exe" ]; then
    (cd "$source_dir" && cmake --preset windows-i686 && cmake --build --preset windows-i686) ||
      exit 1
  fi
  build="$(cd "$build" && pwd)" || exit 1
  export KORVEN_BENCH_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}" "$build"
fi

source "$source_dir/sim/sim_wine.sh"
korvensim_fresh_prefix "$build" wine-idle-bench || { echo "no Wine prefix" >&2; exit 1; }
logs="$KORVEN_WINE_ROOT/logs"
probe_exe="$build/tests/wine/korven_probe.exe"
[ -f "$probe_exe" ] || { echo "missing $probe_exe: build the windows-i686 preset" >&2; exit 1; }
hz="$(getconf CLK_TCK)"

empty_exe="$KORVEN_WINE_ROOT/empty_win32.exe"
i686-w64-mingw32-gcc -O2 -mwindows -s -o "$empty_exe" "$here/empty_win32.c" || exit 1
mkdir -p "$WINEPREFIX/drive_c/EmptyWin32"
cp "$empty_exe" "$WINEPREFIX/drive_c/EmptyWin32/"

launcher_pid=
cleanup() {
  if [ -n "$launcher_pid" ]; then kill "$launcher_pid" 2>/dev/null; fi
  wineserver -k >/dev/null 2>&1
}
trap cleanup EXIT

wineserver -p
"$source_dir/sim/install_sim.sh" --demand "$build" >"$logs/install.out" 2>&1 ||
  { echo "the simulated KORVEN does not install; see $logs/install.out" >&2; exit 1; }
korvensim_ctl reset >"$logs/ctl.out" 2>&1
korvensim_ctl source 2ch >>"$logs/ctl.out" 2>&1
wine reg delete 'HKLM\SOFTWARE\TALVOR' /f >"$logs/reg-delete.out" 2>&1

main='top:KORVEN: Control Panel'
empty='top:Empty Win32 Program'
korven_cmd='C:\KORVEN\korven.exe'
empty_cmd='C:\EmptyWin32\empty_win32.exe'

probe() { wine "$probe_exe" "$@" >"$logs/probe.out" 2>&1; }
korven_up() { probe tray "$main" 139; }
empty_up() { probe wait "$empty" 0; }
korven_exit() { probe post "$main" 0x111 32771 0; }  # the tray menu's Exit
empty_exit() { probe close "$empty"; }

now() { date +%s.%N; }
ours() { { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; }
# The Wine process of our prefix whose command line names EXE.
pid_of() {
  local proc pid
  for proc in /proc/[0-9]*; do
    pid="${proc#/proc/}"
    { tr '\0' ' ' <"$proc/cmdline"; } 2>/dev/null | grep -qiF "$1" || continue
    ours "$pid" || continue
    echo "$pid"
    return 0
  done
  return 1
}
cpu_ticks() {  # utime+stime of PID, in clock ticks
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || { echo 0; return; }
  stat="${stat##*) }"  # past the command name, which may hold spaces
  read -r -a fields <<<"$stat"
  echo $((fields[11] + fields[12]))
}
# utime+stime of the prefix's system processes (wineserver, the driver host, explorer, ...).
system_ticks() {
  local proc pid total=0
  for proc in /proc/[0-9]*; do
    pid="${proc#/proc/}"
    [ "$pid" = "$1" ] && continue
    ours "$pid" || continue
    total=$((total + $(cpu_ticks "$pid")))
  done
  echo "$total"
}
# Nanoseconds on a processor of every thread of PID: finer than the 10 ms clock ticks.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

# start NAME COMMAND UP: starts the program; the seconds until UP first succeeds in $took.
start() {
  local t0 t1
  t0="$(now)"
  wine "$2" >"$logs/$1.out" 2>&1 &
  launcher_pid=$!
  for _ in $(seq 1 300); do
    if "$3"; then
      t1="$(now)"
      took="$(echo "$t1 - $t0" | bc -l)"
      return 0
    fi
  done
  echo "$1 did not come up; see $logs/probe.out" >&2
  return 1
}
# stop NAME EXIT: asks the program to end and waits for it.
stop() {
  "$2"
  for _ in $(seq 1 100); do
    kill -0 "$launcher_pid" 2>/dev/null || { wait "$launcher_pid"; launcher_pid=; return 0; }
    sleep 0.1
  done
  echo "$1 did not end" >&2
  kill "$launcher_pid" 2>/dev/null
  launcher_pid=
  return 1
}

# idle NAME COMMAND UP EXIT EXE: sets cpu_ms, run_ms, sys_ms, hwm_kb, rss_kb; the largest
# mappings by resident size go to logs/NAME-maps.txt.
idle() {
  local pid c0 c1 s0 s1 n0 n1
  start "$1" "$2" "$3" || exit 1
  sleep 2  # start-up done with
  pid="$(pid_of "$5")" || { echo "no process for $5" >&2; exit 1; }
  c0="$(cpu_ticks "$pid")"
  n0="$(run_ns "$pid")"
  s0="$(system_ticks "$pid")"
  sleep "$idle_seconds"
  c1="$(cpu_ticks "$pid")"
  n1="$(run_ns "$pid")"
  s1="$(system_ticks "$pid")"
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "" ? "[anonymous]" : $6) }
       /^Rss:/ { rss[name] += $2 }
       END { for (n in rss) printf "%8d kB  %s\n", rss[n], n }' "/proc/$pid/smaps" |
    sort -rn >"$logs/$1-maps.txt"
  hwm_kb="$(kb "$pid" VmHWM)"
  rss_kb="$(kb "$pid" VmRSS)"
  cpu_ms=$(((c1 - c0) * 1000 / hz))
  run_ms=$(((n1 - n0) / 1000000))
  sys_ms=$(((s1 - s0) * 1000 / hz))
  stop "$1" "$4" || exit 1
  sleep 1
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { if [ "$2" = 0 ]; then echo "-"; else echo "scale=2; $1 / $2" | bc -l; fi; }

echo "idle ${idle_seconds} s, korven.exe in the tray (2-channel source, Filter page selected)..."
idle korven "$korven_cmd" korven_up korven_exit korven.exe
k_cpu=$cpu_ms k_run=$run_ms k_sys=$sys_ms k_hwm=$hwm_kb k_rss=$rss_kb
echo "idle ${idle_seconds} s, the empty program..."
idle empty "$empty_cmd" empty_up empty_exit empty_win32.exe
e_cpu=$cpu_ms e_run=$run_ms e_sys=$sys_ms e_hwm=$hwm_kb e_rss=$rss_kb

# One failing probe run: the resolution of the start-up figures.
t0="$(now)"
probe wait "top:no such window" 0
resolution="$(echo "$(now) - $t0" | bc -l)"

echo "start-up, $runs runs each..."
k_times="" e_times=""
for _ in $(seq 1 "$runs"); do
  start korven "$korven_cmd" korven_up || exit 1
  k_times="$k_times $took"
  stop korven korven_exit || exit 1
  sleep 1
  start empty "$empty_cmd" empty_up || exit 1
  e_times="$e_times $took"
  stop empty empty_exit || exit 1
  sleep 1
done
k_start="$(echo "$k_times" | median)"
e_start="$(echo "$e_times" | median)"

echo
printf '%-44s %12s %12s %8s %8s\n' "" korven.exe empty ratio target
printf '%-44s %12s %12s %8s %8s\n' "CPU over ${idle_seconds} s idle, ms (utime+stime)" \
  "$k_cpu" "$e_cpu" "$(ratio "$k_cpu" "$e_cpu")" 1.1
printf '%-44s %12s %12s %8s\n' "  the same from the threads' schedstat, ms" \
  "$k_run" "$e_run" "$(ratio "$k_run" "$e_run")"
printf '%-44s %12s %12s %8s %8s\n' "peak RSS (VmHWM), kB" "$k_hwm" "$e_hwm" "$(ratio "$k_hwm" "$e_hwm")" 1.2
printf '%-44s %12s %12s %8s %8s\n' "RSS at the end (VmRSS), kB" "$k_rss" "$e_rss" "$(ratio "$k_rss" "$e_rss")" ""
printf '%-44s %12.2f %12.2f %8s %8s\n' "start-up, median of $runs, s" \
  "$k_start" "$e_start" "$(ratio "$k_start" "$e_start")" 1.2
printf '%-44s %12s %12s\n' "Wine system processes' CPU meanwhile, ms" "$k_sys" "$e_sys"
echo "start-up runs, s: korven.exe$k_times; empty$e_times"
printf 'one probe run (start-up resolution): %.2f s\n' "$resolution"
echo "largest mappings by resident size: $logs/korven-maps.txt, $logs/empty-maps.txt"
