#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tovix need,
# on Debian 12 (bookworm) and Debian 13 (trixie) alike: the names are the same
# on both. Where the machine runs no 32-bit code, it sets up its emulation too.
# Silent when everything is already there; uses apt as root, sudo otherwise,
# and prints the exact command when neither is possible.
# Usage: deps.sh [PACKAGE...]   (with packages: only those, when missing)
set -euo pipefail
cd "$(dirname "$0")/../.."

packages=(
  cmake make
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  xvfb xauth xdotool x11-utils xclip imagemagick
  googletest gcovr
  fonts-liberation fonts-wine locales
  python3-pil icoutils libimage-exiftool-perl unzip osslsigncode openssl
)

missingOf() { # package...: those not installed
  local p status
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || echo "$p"
  done
}

asRoot() { # what script: runs SCRIPT as root, through sudo where needed, or prints it
  if [[ $(id -u) -eq 0 ]]; then
    bash -c "$2"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo bash -c "$2"
  else
    echo "Tovix needs $1. Run as root:" >&2
    echo "  $2" >&2
    exit 1
  fi
}

install() { # [--i386] package...
  local i386=
  [[ $1 == --i386 ]] && i386="dpkg --add-architecture i386 && " && shift
  echo "Installing: $*"
  asRoot "these packages" "${i386}apt-get update -qq && \
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $*"
}

if [[ $# -gt 0 ]]; then
  mapfile -t missing < <(missingOf "$@")
  [[ ${#missing[@]} -eq 0 ]] || install "${missing[@]}"
  exit 0
fi

# The 32-bit loader first: it tells whether this machine runs 32-bit code.
# Where it does not, the emulation comes next (tools/wine/i386-emulation.sh), before
# any 32-bit package, whose installation may run 32-bit programs. Wine is
# always the 32-bit one, for the 32-bit programs; where they are emulated,
# 64-bit Wine's wineserver serves them at native speed.
[[ -z $(missingOf libc6-i386) ]] || install libc6-i386
source tools/wine/wine-arch.sh
mode=$(i386_mode)
case $mode in
  none) asRoot "32-bit x86 emulation (qemu-user 8 or later, an i386 binfmt_misc entry)" "bash $PWD/tools/wine/i386-emulation.sh" ;;
  emulated) bash tools/wine/i386-emulation.sh ;; # checks the emulator that is registered
esac
packages+=(wine wine32:i386)
[[ $mode == native ]] || packages+=(wine64)
dpkg --print-foreign-architectures | grep -qx i386 || needsI386=--i386

mapfile -t missing < <(missingOf "${packages[@]}")
[[ ${#missing[@]} -eq 0 && -z ${needsI386:-} ]] && exit 0
install ${needsI386:-} "${missing[@]}"
