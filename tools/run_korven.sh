#!/usr/bin/env bash
# Builds korven.exe (32-bit) and runs it under Wine in a private prefix inside the build
# folder, on the current X display. Installs what is missing first.
#   tools/run_korven.sh   on the user's display; without one, on a hidden display (Xvfb)
#                         for a few seconds, leaving a screenshot in build/windows-i686/wine-run
# Sound goes to the user's own sound server (PulseAudio, or PipeWire's PulseAudio socket) when
# there is one; with no display, with none found, or with KORVEN_SOUND=private, to a private
# server's null sink, which nobody hears (as in the tests).
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install_packages.sh
korven_install_packages "${KORVEN_WINDOWS_PACKAGES[@]}" || exit 1

# Without a screen the program runs on a hidden display for a few seconds and leaves a
# picture of it.
if [ -z "${DISPLAY:-}" ]; then
  if [ -z "${KORVEN_RUN_HIDDEN:-}" ] && command -v xvfb-run >/dev/null; then
    echo "No X display: running on a hidden one and taking a screenshot."
    KORVEN_RUN_HIDDEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "${BASH_SOURCE[0]}"
  fi
  echo "No X display (\$DISPLAY is not set) and no xvfb-run." >&2
  exit 1
fi

cmake --preset windows-i686 && cmake --build --preset windows-i686 -j "$(nproc)" || exit 1

# The user's sound server, looked for before the private world replaces the user's folders.
user_runtime="${XDG_RUNTIME_DIR:-/run/user/$(id -u)}"
user_pulse="${PULSE_SERVER:-}"
user_cookie="${PULSE_COOKIE:-${XDG_CONFIG_HOME:-${HOME:-/nonexistent}/.config}/pulse/cookie}"
# As root through sudo, the server is the invoking user's.
if [ -n "${SUDO_UID:-}" ] && [ -z "$user_pulse" ]; then
  user_runtime="/run/user/$SUDO_UID"
  user_cookie="$(getent passwd "$SUDO_UID" | cut -d: -f6)/.config/pulse/cookie"
fi
user_sound_server() {
  local server
  for server in "$user_pulse" "unix:$user_runtime/pulse/native"; do
    [ -n "$server" ] || continue
    [[ "$server" != unix:* || -S "${server#unix:}" ]] || continue
    if PULSE_SERVER="$server" timeout 5 pactl info >/dev/null 2>&1; then
      echo "$server"
      return 0
    fi
  done
  return 1
}

source tests/wine/wine_env.sh
source tests/wine/pulse.sh
korven_wine_env build/windows-i686 wine-run
[ -f "$user_cookie" ] && export PULSE_COOKIE="$user_cookie"
if [ -z "${KORVEN_RUN_HIDDEN:-}" ] && [ "${KORVEN_SOUND:-}" != private ] &&
  server="$(user_sound_server)"; then
  export PULSE_SERVER="$server"
  echo "Sound: through your sound server ($server)."
elif korven_pulse_start; then
  echo "Sound: into a private null sink nobody hears ($PULSE_SERVER)."
else
  echo "Sound: none (no sound server could be started)."
fi
echo "Preparing the Wine prefix in $WINEPREFIX ..."
korven_wine_prefix || { echo "Wine prefix set-up failed; see $KORVEN_WINE_ROOT/logs" >&2; exit 1; }

# The driver lives as long as the wineserver: keep one server for the whole run.
wineserver -p
stop_server() {
  wineserver -k >/dev/null 2>&1
  korven_pulse_stop
}
trap stop_server EXIT

# The simulated device (driver and companion libraries), when this build has it; without
# it the program runs as on a machine where the device is not plugged in.
exe=build/windows-i686/app/korven.exe
if [ -f sim/install_sim.sh ] && [ -f build/windows-i686/sim/korvenctl.exe ]; then
  echo "Installing the simulated KORVEN ..."
  if bash sim/install_sim.sh build/windows-i686; then
    exe='C:\KORVEN\korven.exe'
  else
    echo "The simulated device could not be installed; running without it." >&2
  fi
else
  echo "No simulated device in this build: running as without the device."
fi

log="$KORVEN_WINE_ROOT/logs/korven.out"
if [ -z "${KORVEN_RUN_HIDDEN:-}" ]; then
  echo "Running korven.exe: its icon is in the notification area (Wine output: $log)."
  echo "Choose Exit in the icon's menu to end it."
  wine "$exe" >"$log" 2>&1
  exit $?
fi

# On the hidden display: the settings opened from outside, a picture, then Exit.
probe() { wine build/windows-i686/tests/wine/korven_probe.exe "$@" >>"$KORVEN_WINE_ROOT/logs/probe.out" 2>&1; }
main='top:KORVEN: Control Panel'
wine "$exe" >"$log" 2>&1 &
korven=$!
shot="$KORVEN_WINE_ROOT/korven.png"
if probe wait "$main" 30000 && probe hidden "$main" 5000; then
  probe post "$main" 0x111 32774 0  # Open Setting
  probe shown "$main" 5000
  sleep 1
  import -window root "$shot" && echo "Screenshot of the running program: $shot"
  probe post "$main" 0x111 32771 0  # Exit
else
  import -window root "$shot"
  echo "korven.exe did not come up; see $log and $shot" >&2
  kill "$korven" 2>/dev/null
fi
wait "$korven"
