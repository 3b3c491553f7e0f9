#!/usr/bin/env bash
# korven.exe idle in the tray under Wine, side by side in one run with
#   - the floor (bench/floor_win32.c): the device and sound traffic korven.exe must make with
#     its Filter page selected, and nothing else; the ratios are against it;
#   - the empty program (bench/empty_win32.c): a dialog and a 200 ms timer that does nothing;
#   - optionally another korven.exe (KORVEN_COMPARE=path), for example the build before a change.
# For each: processor time over IDLE_SECONDS of idling side by side (utime+stime of the
# program's Wine process, and the schedstat run time of its living threads), peak and final
# RSS, and start-up (korven.exe to its tray icon, the others to their first window;
# bench/start_timer.c polls every millisecond), RUNS rounds, median, fastest and spread. The
# simulated device is plugged in with a 2-channel source; there is no sound server. How to
# read the figures: docs/PERFORMANCE.md.
#   bench/wine_idle_bench.sh [BUILD_DIR]   (default: build/windows-i686)
# Environment: IDLE_SECONDS (60), RUNS (7), KORVEN_COMPARE, and TRACE_SECONDS (0): when set,
# each program is also traced that long afterwards (wineserver requests and window messages
# from WINEDEBUG, system calls from strace -c -f) and the counts per tick are printed.
# Everything stays in BUILD_DIR/wine-idle-bench.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/.." && pwd)"
build="${1:-$source_dir/build/windows-i686}"
idle_seconds="${IDLE_SECONDS:-60}"
runs="${RUNS:-7}"
trace_seconds="${TRACE_SECONDS:-0}"

if [ -z "${KORVEN_BENCH_DISPLAY:-}" ]; then
  if [ ! -f "$build/app/korven.exe" ]; then
    (cd "$source_dir" && cmake --preset windows-i686 && cmake --build --preset windows-i686) ||
      exit 1
  fi
  build="$(cd "$build" && pwd)" || exit 1
  if [ -n "${KORVEN_COMPARE:-}" ]; then
    KORVEN_COMPARE="$(cd "$(dirname "$KORVEN_COMPARE")" && pwd)/$(basename "$KORVEN_COMPARE")"
    export KORVEN_COMPARE
  fi
  export KORVEN_BENCH_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}" "$build"
fi

source "$source_dir/sim/sim_wine.sh"
korvensim_fresh_prefix "$build" wine-idle-bench || { echo "no Wine prefix" >&2; exit 1; }
logs="$KORVEN_WINE_ROOT/logs"
hz="$(getconf CLK_TCK)"
# No sound server: the clip's playing ends at the device's absence, the same for every program.
export PULSE_SERVER="unix:$KORVEN_WINE_ROOT/pulse/none"

bench_dir="$WINEPREFIX/drive_c/KorvenBench"
mkdir -p "$bench_dir"
cc() { i686-w64-mingw32-gcc -O2 -Wall -Wextra -Werror -s "$@"; }
cc -mwindows -o "$bench_dir/empty_win32.exe" "$here/empty_win32.c" &&
  cc -mwindows -o "$bench_dir/floor_win32.exe" "$here/floor_win32.c" -lwinmm &&
  cc -o "$bench_dir/start_timer.exe" "$here/start_timer.c" || exit 1

launcher_pid=
cleanup() {
  if [ -n "$launcher_pid" ]; then kill "$launcher_pid" 2>/dev/null; fi
  wineserver -k >/dev/null 2>&1
}
trap cleanup EXIT

wineserver -p >"$logs/wineserver.out" 2>&1
"$source_dir/sim/install_sim.sh" --demand "$build" >"$logs/install.out" 2>&1 ||
  { echo "the simulated KORVEN does not install; see $logs/install.out" >&2; exit 1; }
korvensim_ctl reset >"$logs/ctl.out" 2>&1
korvensim_ctl source 2ch >>"$logs/ctl.out" 2>&1
wine reg delete 'HKLM\SOFTWARE\TALVOR' /f >"$logs/reg-delete.out" 2>&1

# The programs: name, command, caption of the window that is up, tray icon id (0: none),
# and how to end it.
names=(korven floor empty)
declare -A cmd caption icon exe_name
cmd[korven]='C:\KORVEN\korven.exe'
cmd[floor]='C:\KorvenBench\floor_win32.exe'
cmd[empty]='C:\KorvenBench\empty_win32.exe'
caption[korven]='KORVEN: Control Panel'
caption[floor]='KORVEN Floor Program'
caption[empty]='Empty Win32 Program'
icon[korven]=139
icon[floor]=0
icon[empty]=0
if [ -n "${KORVEN_COMPARE:-}" ]; then
  # Beside the other one, so that it finds the same companion libraries.
  cp "$KORVEN_COMPARE" "$WINEPREFIX/drive_c/KORVEN/korven_compare.exe" || exit 1
  names+=(compare)
  cmd[compare]='C:\KORVEN\korven_compare.exe'
  caption[compare]="${caption[korven]}"
  icon[compare]=139
fi
for n in "${names[@]}"; do exe_name[$n]="${cmd[$n]##*\\}"; done

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
# utime+stime of the prefix's system processes (wineserver, the driver host, explorer, ...):
# every process of the prefix but the PIDS given.
system_ticks() {
  local proc pid total=0
  for proc in /proc/[0-9]*; do
    pid="${proc#/proc/}"
    case " $1 " in *" $pid "*) continue ;; esac
    ours "$pid" || continue
    total=$((total + $(cpu_ticks "$pid")))
  done
  echo "$total"
}
# Nanoseconds on a processor of every thread of PID: finer than the 10 ms clock ticks.
run_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }

# start NAME: starts the program and waits until it is up; its start-up in ms in $took.
start() {
  local out="$logs/start-$1.out"
  wine 'C:\KorvenBench\start_timer.exe' "${caption[$1]}" "${icon[$1]}" "${cmd[$1]}" \
    >"$out" 2>&1 &
  launcher_pid=$!
  wait "$launcher_pid"
  launcher_pid=
  took="$(tr -d '\r' <"$out" | grep -E '^[0-9]+\.[0-9]$' | tail -n 1)"
  [ -n "$took" ] && return 0
  echo "$1 did not come up; see $out" >&2
  return 1
}
# stop NAME: asks the program to end (korven.exe: the tray menu's Exit) and waits for it.
stop() {
  local pid
  pid="$(pid_of "${exe_name[$1]}")" || return 0
  if [ "${icon[$1]}" != 0 ]; then
    wine "$build/tests/wine/korven_probe.exe" post "top:${caption[$1]}" 0x111 32771 0 \
      >"$logs/probe.out" 2>&1
  else
    wine "$build/tests/wine/korven_probe.exe" close "top:${caption[$1]}" >"$logs/probe.out" 2>&1
  fi
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "$1 did not end" >&2
  return 1
}

# idle KEY NAME...: runs the programs side by side, so that the machine's other load falls on
# all of them alike, and sets cpu_ms, run_ms, hwm_kb, rss_kb of each (indexed NAME, or
# NAME.KEY for a second round); sys_ms[KEY] is the prefix's other processes meanwhile. The
# largest mappings of each by resident size go to logs/NAME[.KEY]-maps.txt.
declare -A cpu_ms run_ms sys_ms hwm_kb rss_kb
idle() {
  local key="$1" n pid s0 s1 all=""
  shift
  declare -A pids c0 n0
  for n in "$@"; do start "$n" || exit 1; done
  sleep 2  # start-up done with
  for n in "$@"; do
    pid="$(pid_of "${exe_name[$n]}")" || { echo "no process for $n" >&2; exit 1; }
    pids[$n]=$pid
    all="$all $pid"
  done
  for n in "$@"; do c0[$n]="$(cpu_ticks "${pids[$n]}")" n0[$n]="$(run_ns "${pids[$n]}")"; done
  s0="$(system_ticks "$all")"
  sleep "$idle_seconds"
  s1="$(system_ticks "$all")"
  for n in "$@"; do
    local at="$n" c1 n1
    [ "$key" = 1 ] || at="$n.$key"
    pid="${pids[$n]}"
    c1="$(cpu_ticks "$pid")"
    n1="$(run_ns "$pid")"
    cpu_ms[$at]=$(((c1 - c0[$n]) * 1000 / hz))
    run_ms[$at]=$(((n1 - n0[$n]) / 1000000))
    hwm_kb[$at]="$(kb "$pid" VmHWM)"
    rss_kb[$at]="$(kb "$pid" VmRSS)"
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = ($6 == "" ? "[anonymous]" : $6) }
         /^Rss:/ { rss[name] += $2 }
         END { for (n in rss) printf "%8d kB  %s\n", rss[n], n }' "/proc/$pid/smaps" |
      sort -rn >"$logs/$at-maps.txt"
  done
  sys_ms[$key]=$(((s1 - s0) * 1000 / hz))
  for n in "$@"; do stop "$n" || exit 1; done
  sleep 1
}

# trace NAME: wineserver requests and window procedure calls per second of the program, from
# WINEDEBUG=+server,+msg (once one process asks for it, the server writes every process's
# requests to its own output: the program's threads are picked out by the program's id),
# and its system calls (strace -c -f).
trace() {
  local pid out="$logs/trace-$1" m0 s_start s0 s1 wpid
  s_start="$(wc -l <"$logs/wineserver.out")"
  WINEDEBUG=+server,+msg start "$1" || exit 1
  wpid="$(tr -d '\r' <"$logs/start-$1.out" | sed -n 's/^pid //p' | tail -n 1)"
  sleep 2
  pid="$(pid_of "${exe_name[$1]}")" || exit 1
  m0="$(wc -l <"$logs/start-$1.out")"
  s0="$(wc -l <"$logs/wineserver.out")"
  timeout -s INT "$trace_seconds" strace -c -f -p "$pid" -o "$out.strace" >/dev/null 2>&1
  s1="$(wc -l <"$logs/wineserver.out")"
  tail -n +"$m0" "$logs/start-$1.out" >"$out.msg"
  sed -n "$((s_start + 1)),${s1}p" "$logs/wineserver.out" >"$out.server"
  stop "$1"
  sleep 1
  {
    echo "== $1, ${trace_seconds} s"
    # A request line is "TID: name( ...", its reply "TID: name() = ...". The program's threads:
    # the first one (its reply names the process) and those its threads create in it.
    awk -v s="$trace_seconds" -v pid="$wpid" -v from="$((s0 - s_start))" '
      { tid = substr($1, 1, length($1) - 1) }
      $2 == "init_first_thread()" && index($0, "pid=" pid ",") { mine[tid] = 1 }
      (tid in mine) && $2 == "new_thread(" && / process=ffffffff/ { creating[tid] = 1 }
      (tid in creating) && $2 == "new_thread()" && match($0, /tid=[0-9a-f]+/) {
        mine[substr($0, RSTART + 4, RLENGTH - 4)] = 1; delete creating[tid] }
      NR > from && (tid in mine) && $2 ~ /^[a-z_]+\($/ { n++; r[substr($2, 1, length($2) - 1)]++ }
      END { printf "wineserver requests: %.1f/s\n", n / s; fflush()
            for (k in r) printf "  %7.1f/s %s\n", r[k] / s, k | "sort -rn | head -n 15" }' "$out.server"
    awk -v s="$trace_seconds" '/WINPROC_CallProc/ { n++; m[$5]++ }
      END { printf "window procedure calls: %.1f/s\n", n / s; fflush()
            for (k in m) printf "  %7.1f/s %s\n", m[k] / s, k | "sort -rn | head -n 12" }' \
      FS='[=,(]' "$out.msg"
    echo "system calls (strace -c -f):"
    grep -v '^ *[0-9]* \[' "$out.strace" | sed -n '1,14p'
  } >>"$logs/trace.txt"
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
spread() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s-%s", lo, hi }'; }
ratio() { if [ "${2:-0}" = 0 ]; then echo "-"; else echo "scale=2; $1 / $2" | bc -l; fi; }

echo "idle ${idle_seconds} s: korven.exe, the floor and the empty program side by side..."
idle 1 korven floor empty
if [ -n "${KORVEN_COMPARE:-}" ]; then
  echo "idle ${idle_seconds} s: the other korven.exe, the floor and the empty program..."
  idle 2 compare floor empty
  for v in cpu_ms run_ms hwm_kb rss_kb; do
    declare -n values="$v"
    values[compare]="${values[compare.2]}"
    unset -n values
  done
fi

echo "start-up, $runs rounds of all programs..."
# Wine starts the desktop's process with the first window of a session and ends it with the
# last (about 0.7 s here): a window kept open meanwhile leaves only each program's own
# start-up in the figures, as on a desktop that is already there.
wine notepad >"$logs/notepad.out" 2>&1 &
keeper_pid=$!
sleep 3
declare -A times
for _ in $(seq 1 "$runs"); do
  for n in "${names[@]}"; do
    start "$n" || exit 1
    times[$n]="${times[$n]:-} $took"
    stop "$n" || exit 1
    sleep 1
  done
done

kill "$keeper_pid" 2>/dev/null
wait "$keeper_pid" 2>/dev/null
pid="$(pid_of notepad.exe)" && kill "$pid" 2>/dev/null

if [ "$trace_seconds" != 0 ]; then
  : >"$logs/trace.txt"
  for n in "${names[@]}"; do
    echo "trace ${trace_seconds} s: $n..."
    trace "$n"
  done
fi

row() {  # row LABEL ARRAY [TARGET]
  local -n values="$2"
  local line n floor
  line="$(printf '%-40s' "$1")"
  for n in "${names[@]}"; do line="$line$(printf ' %10s' "${values[$n]}")"; done
  for n in "${names[@]}"; do
    [ "$n" = floor ] && continue
    # The other korven.exe against the floor of its own round.
    floor="${values[floor]}"
    [ "$n" = compare ] && floor="${values[floor.2]:-$floor}"
    line="$line$(printf ' %6s' "$(ratio "${values[$n]}" "$floor")")"
  done
  echo "$line$(printf ' %6s' "${3:-}")"
}
declare -A start_ms fastest_ms
for n in "${names[@]}"; do
  start_ms[$n]="$(echo "${times[$n]:-}" | median)"
  fastest_ms[$n]="$(echo "${times[$n]:-}" | spread | cut -d- -f1)"
done

echo
header="$(printf '%-40s' "")"
for n in "${names[@]}"; do header="$header$(printf ' %10s' "$n")"; done
for n in "${names[@]}"; do [ "$n" = floor ] || header="$header$(printf ' %6s' "$n/fl")"; done
echo "$header$(printf ' %6s' target)"
row "run time over ${idle_seconds} s (schedstat), ms" run_ms 1.10
row "utime+stime over ${idle_seconds} s, ms" cpu_ms 1.10
row "peak RSS (VmHWM), kB" hwm_kb 1.10
row "RSS at the end (VmRSS), kB" rss_kb
row "start-up, median of $runs, ms" start_ms 1.10
row "start-up, fastest of $runs, ms" fastest_ms
echo "Wine's own processes meanwhile, ms: ${sys_ms[1]}${sys_ms[2]:+ (second round ${sys_ms[2]})}"
if [ -n "${KORVEN_COMPARE:-}" ]; then
  echo "second round, floor: ${run_ms[floor.2]} ms run time, ${cpu_ms[floor.2]} ms utime+stime," \
    "${hwm_kb[floor.2]} kB peak; empty: ${run_ms[empty.2]} ms, ${cpu_ms[empty.2]} ms, ${hwm_kb[empty.2]} kB"
fi
for n in "${names[@]}"; do
  echo "start-up runs of $n, ms:${times[$n]:-} (spread $(echo "${times[$n]:-}" | spread))"
done
echo "largest mappings by resident size: $logs/*-maps.txt"
if [ "$trace_seconds" != 0 ]; then cat "$logs/trace.txt"; fi
