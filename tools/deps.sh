#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tovix need.
# Silent when everything is already there; uses apt as root, sudo otherwise,
# and prints the exact command when neither is possible.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386
  xvfb xauth xdotool x11-utils xclip imagemagick
  googletest
  fonts-liberation fonts-wine locales
  python3-pil icoutils libimage-exiftool-perl unzip
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
needs_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || needs_i386=1
[[ ${#missing[@]} -eq 0 && $needs_i386 -eq 0 ]] && exit 0

script="dpkg --add-architecture i386 && apt-get update -qq && \
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ${missing[*]}"

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  bash -c "$script"
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo bash -c "$script"
else
  echo "Tovix needs these packages. Run as root:" >&2
  echo "  $script" >&2
  exit 1
fi
