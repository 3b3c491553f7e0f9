# Sourced by the run scripts: installs the Debian packages the builds and tests need, and
# leaves apt alone when they are all present.
#   korven_install_packages PACKAGE...

korven_install_packages() {
  local missing=() package
  for package in "$@"; do
    if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages (${missing[*]}); run as root or install them first." >&2
      return 1
    fi
    sudo=(sudo)
  fi
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386 || return 1
  fi
  "${sudo[@]}" apt-get update -q || return 1
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q \
    "${missing[@]}"
}

# What building korven.exe and running it under Wine needs.
KORVEN_WINDOWS_PACKAGES=(cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64
                         binutils-mingw-w64-i686 wine wine64 wine32:i386 xvfb xauth imagemagick
                         pulseaudio pulseaudio-utils nsis)
# What the tests need on top: the native suite, the Windows test program (googletest's
# sources) and the analysis of what the Wine tests hear.
KORVEN_NATIVE_PACKAGES=(g++ libgtest-dev libgmock-dev googletest clang libclang-rt-14-dev ninja-build
                        python3-numpy)
