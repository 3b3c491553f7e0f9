# shellcheck shell=bash
# Sourced by the simulation's scripts: Wine calls for the prefix of the environment.
# Every output goes to files: a persistent wineserver's system processes would keep a pipe
# open for ever.

# i686 or x86_64: the processor of the prefix's own system.
korvensim_prefix_arch() {
  if [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then echo x86_64; else echo i686; fi
}

# The loader whose service manager and registry belong to the prefix's own processor:
# Debian's `wine` is the 32-bit one, and its sc would mark a 64-bit driver WOW64.
korvensim_native_wine() {
  if [ "$(korvensim_prefix_arch)" = x86_64 ]; then
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else echo wine64; fi
  else
    echo wine
  fi
}

# Where the scripts' Wine output goes.
korvensim_logs() {
  local logs="${KORVEN_WINE_ROOT:-$WINEPREFIX/..}/logs"
  mkdir -p "$logs"
  (cd "$logs" && pwd)
}

# sc COMMAND KorvenSim ARGS...
korvensim_service() {
  local command="$1"
  shift
  "$(korvensim_native_wine)" sc "$command" KorvenSim "$@"
}

korvensim_reg() {
  "$(korvensim_native_wine)" reg "$@"
}

korvensim_ctl() {
  wine 'C:\KorvenSim\korvenctl.exe' "$@"
}

# korvensim_fresh_prefix BUILD_DIR NAME: the private Wine world BUILD_DIR/NAME (see
# tests/wine/wine_env.sh) with a prefix copied from a pristine one kept in
# BUILD_DIR/wine-sim-base-ARCH: a copy takes seconds, a new prefix half a minute. The prefix
# is 64-bit unless KORVENSIM_WINEARCH says win32.
korvensim_fresh_prefix() {
  local build="$1" name="$2" source_dir base
  source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  source "$source_dir/tests/wine/wine_env.sh"
  export KORVEN_WINEARCH="${KORVENSIM_WINEARCH:-win64}"
  korven_wine_env "$build" "wine-sim-base-$KORVEN_WINEARCH"
  korven_wine_prefix || return 1
  base="$WINEPREFIX"
  korven_wine_env "$build" "$name"
  rm -rf "$WINEPREFIX"
  cp -a "$base" "$WINEPREFIX"
}
