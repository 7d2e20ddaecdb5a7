#!/usr/bin/env bash
# make dist: builds Tovix.exe and packs the release into dist/: the program,
# Tovix-<version>-win32.zip for Windows users, and SHA256SUMS for both. The
# same commit gives the same bytes wherever and whenever it is built; see
# docs/reproducible-build.md.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset windows-i686 --target Tovix -j 2 -- --no-print-directory
version=$(<build/generated/version.txt)
rm -rf dist
/usr/bin/python3 tools/pack_release.py build/Tovix.exe "$version" dist

# A build from uncommitted changes matches no commit: nobody can check it.
if [[ -n $(git status --porcelain 2>/dev/null) ]]; then
  echo "Note: the working tree has uncommitted changes; this release matches no commit."
fi
zip=dist/Tovix-$version-win32.zip
echo "Release: $zip"
echo "SHA-256: $(sha256sum "$zip" | cut -d' ' -f1)"
