# Sourced by the Wine scripts: a private Wine world inside a build folder.
#   korven_wine_env BUILD_DIR NAME   sets WINEPREFIX, HOME, XDG_*, TMPDIR, ... under
#                                    BUILD_DIR/NAME
#   korven_wine_prefix               creates the prefix once (virtual desktop, fonts)
#   korven_build_dir [BUILD_DIR]     the build folder as a full path (build/windows-i686 if
#                                    none is given)
#   korven_on_display SCRIPT ARGS... runs SCRIPT again under Xvfb unless it runs there already
# Keep every Wine call of one prefix under the same TMPDIR: the server's socket lives there.

korven_wine_env() {
  local root
  root="$(cd "$1" && pwd)/$2"
  mkdir -p "$root"/{home,xdg/config,xdg/data,xdg/cache,xdg/runtime,tmp,pulse,logs}
  chmod 700 "$root/xdg/runtime"
  export KORVEN_WINE_ROOT="$root"
  export WINEPREFIX="$root/prefix"
  export WINEARCH="${KORVEN_WINEARCH:-win32}"
  export HOME="$root/home"
  export XDG_CONFIG_HOME="$root/xdg/config"
  export XDG_DATA_HOME="$root/xdg/data"
  export XDG_CACHE_HOME="$root/xdg/cache"
  export XDG_RUNTIME_DIR="$root/xdg/runtime"
  export TMPDIR="$root/tmp"
  export PULSE_RUNTIME_PATH="$root/pulse"
  # No sound server unless a script starts one (tests/wine/pulse.sh): a socket nobody listens
  # on, so that Wine has no sound device and no PulseAudio client starts a daemon of its own.
  export PULSE_SERVER="unix:$root/pulse/no-server"
  printf 'autospawn = no\n' >"$root/pulse/client.conf"
  export PULSE_CLIENTCONFIG="$root/pulse/client.conf"
  export WINEDEBUG=-all
  # No Mono, no Gecko, no menu entries.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Creating a prefix takes a quarter of a minute, so a ready one is kept between runs.
korven_wine_prefix() {
  local logs="$KORVEN_WINE_ROOT/logs"
  if [ ! -f "$WINEPREFIX/.korven-ready-$WINEARCH" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >"$logs/wineboot.out" 2>&1 || return 1
    # A virtual desktop gives title bars and a taskbar without a window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      >"$logs/reg-desktop.out" 2>&1 || return 1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${KORVEN_DESKTOP_SIZE:-1024x768}" \
      /f >>"$logs/reg-desktop.out" 2>&1 || return 1
    # Debian's Wine does not find its own Tahoma and Marlett (caption buttons).
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.korven-ready-$WINEARCH"
  fi
}

korven_build_dir() {
  local dir="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/windows-i686}"
  (cd "$dir" 2>/dev/null && pwd) || { echo "no build folder: $dir" >&2; return 1; }
}

# Everything of one test (server, prefix, programs) runs on one X display of its own.
korven_on_display() {
  [ -n "${KORVEN_ON_XVFB:-}" ] && return 0
  export KORVEN_ON_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$@"
}
