# shellcheck shell=bash
# Sourced by the Wine scripts, after korven_wine_env (which leaves Wine without a sound
# server): a PulseAudio server of our own that Wine plays into, and a recorder of it.
#   korven_pulse_start          a private server in $KORVEN_WINE_ROOT/pulse (its socket, state,
#                               configuration and log); its default sink is a null sink with
#                               6 channels at 48 kHz in the order of the program's test tones
#   korven_pulse_record FILE    records that sink into FILE (raw, s16le, 6 channels, 48 kHz),
#                               from the first samples on, until korven_pulse_record_end
#   korven_pulse_stop           ends the recorder and the server, each by its own pid
#   korven_pulse_heard FILE WORD...
#                               what FILE holds, checked against WORDs (tests/wine_e2e/listen.py)

korven_pulse_rate=48000
korven_pulse_channels=6
korven_pulse_map=front-left,front-right,front-center,lfe,rear-left,rear-right
korven_pulse_sink=korven_test
korven_pulse_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
korven_pulse_pid=
korven_pulse_record_pid=
korven_pulse_keeper_pid=

korven_pulse_start() {
  local dir="$KORVEN_WINE_ROOT/pulse"
  mkdir -p "$dir/state"
  rm -f "$dir/native"
  cat >"$dir/daemon.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=$korven_pulse_sink rate=$korven_pulse_rate channels=$korven_pulse_channels channel_map=$korven_pulse_map sink_properties=device.description=KORVEN-Test
set-default-sink $korven_pulse_sink
PA
  # No session bus either: on a display the daemon would start one of its own.
  PULSE_STATE_PATH="$dir/state" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/no-bus" \
    pulseaudio -n -F "$dir/daemon.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --high-priority=yes --realtime=yes \
    --log-target="file:$dir/pulseaudio.log" >"$dir/pulseaudio.out" 2>&1 &
  korven_pulse_pid=$!
  export PULSE_SERVER="unix:$dir/native"
  local _
  for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$korven_pulse_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "PulseAudio did not start; see $dir/pulseaudio.log" >&2
  korven_pulse_stop
  return 1
}

korven_pulse_record() {
  local out="$1" dir="$KORVEN_WINE_ROOT/pulse" format _
  format=(--raw --format=s16le --rate=$korven_pulse_rate --channels=$korven_pulse_channels
          --channel-map=$korven_pulse_map --latency-msec=20)
  # A stream of silence keeps the sink running: an idle null sink hands its recorder nothing,
  # and the recording would lose the time between two sounds.
  pacat --playback --device=$korven_pulse_sink "${format[@]}" /dev/zero >"$dir/keeper.out" 2>&1 &
  korven_pulse_keeper_pid=$!
  # Without the channel map the server would remix the channels.
  parec --device=$korven_pulse_sink.monitor "${format[@]}" >"$out" 2>"$dir/parec.out" &
  korven_pulse_record_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$out" ] && return 0
    sleep 0.05
  done
  echo "the recorder does not record; see $dir/parec.out" >&2
  return 1
}

korven_pulse_record_end() {
  local pid
  for pid in "$korven_pulse_record_pid" "$korven_pulse_keeper_pid"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  korven_pulse_record_pid=
  korven_pulse_keeper_pid=
}

korven_pulse_stop() {
  korven_pulse_record_end
  [ -n "$korven_pulse_pid" ] || return 0
  kill "$korven_pulse_pid" 2>/dev/null
  wait "$korven_pulse_pid" 2>/dev/null
  korven_pulse_pid=
}

# The analysis needs numpy: Debian's python3 has it (python3-numpy), another python3 found
# first on the path may not.
korven_pulse_python() {
  local python
  for python in python3 /usr/bin/python3; do
    if "$python" -c 'import numpy' >/dev/null 2>&1; then
      echo "$python"
      return 0
    fi
  done
  echo "no python3 with numpy (python3-numpy)" >&2
  return 1
}

korven_pulse_heard() {
  local python
  python="$(korven_pulse_python)" || return 1
  "$python" "$korven_pulse_here/../wine_e2e/listen.py" "$@"
}
