#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tovix need,
# on Debian 12 (bookworm) and Debian 13 (trixie) alike: the names are the same
# on both. Silent when everything is already there; uses apt as root, sudo
# otherwise, and prints the exact command when neither is possible.
# Usage: deps.sh [PACKAGE...]   (with packages: only those, when missing)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  xvfb xauth xdotool x11-utils xclip imagemagick
  googletest
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

install() { # [--i386] package...
  local i386=
  [[ $1 == --i386 ]] && i386="dpkg --add-architecture i386 && " && shift
  local script="${i386}apt-get update -qq && \
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $*"
  echo "Installing: $*"
  if [[ $(id -u) -eq 0 ]]; then
    bash -c "$script"
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo bash -c "$script"
  else
    echo "Tovix needs these packages. Run as root:" >&2
    echo "  $script" >&2
    exit 1
  fi
}

if [[ $# -gt 0 ]]; then
  mapfile -t missing < <(missingOf "$@")
  [[ ${#missing[@]} -eq 0 ]] || install "${missing[@]}"
  exit 0
fi

# The 32-bit loader first: it tells whether this machine runs 32-bit code,
# which decides the Wine to install (tools/wine-arch.sh).
[[ -z $(missingOf libc6-i386) ]] || install libc6-i386
if [[ $(bash tools/wine-arch.sh) == win32 ]]; then
  packages+=(wine wine32:i386)
  dpkg --print-foreign-architectures | grep -qx i386 || needsI386=--i386
else
  packages+=(wine wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
fi

mapfile -t missing < <(missingOf "${packages[@]}")
[[ ${#missing[@]} -eq 0 && -z ${needsI386:-} ]] && exit 0
install ${needsI386:-} "${missing[@]}"
