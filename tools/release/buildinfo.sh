#!/usr/bin/env bash
# Prints a release's BUILDINFO: the commit, the Debian release and the exact
# versions of the packages whose programs made the release's bytes (the
# MinGW-w64 compiler and its runtime, binutils, the Windows headers and
# libraries, CMake, and the Python that packs the zip). SHA256SUMS covers it,
# and so does a signature. tools/release/verify-release.py compares two of them when
# two builds of one commit differ.
# Usage: buildinfo.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

TOOLCHAIN=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix gcc-mingw-w64-i686-posix-runtime gcc-mingw-w64-base
  binutils-mingw-w64-i686 mingw-w64-i686-dev mingw-w64-common cmake python3
)

commit=$(git rev-parse -q --verify HEAD 2>/dev/null || echo "none (not a git checkout)")
[[ -z $(git status --porcelain --untracked-files=no 2>/dev/null) ]] || commit+=" with uncommitted changes"
# shellcheck source=/dev/null
. /etc/os-release
echo "Tovix $(<build/generated/version.txt), the 32-bit Windows release"
echo "Commit: $commit"
echo "Debian: ${VERSION_ID:-unknown} (${VERSION_CODENAME:-unknown})"
for package in "${TOOLCHAIN[@]}"; do
  echo "Package: $package $(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || echo "not installed")"
done
