#!/usr/bin/env bash
# make dist: builds Tovix.exe and packs the release into dist/: the program,
# Tovix-<version>-win32.zip for Windows users, and SHA256SUMS for both. The
# same commit gives the same bytes wherever and whenever it is built; see
# docs/reproducible-build.md.
# With TOVIX_SIGN_PFX and TOVIX_SIGN_PASSWORD_FILE (see tools/sign.sh), the
# program is signed with Authenticode before it is packed, and SHA256SUMS also
# names the unsigned program's checksum, which stays the reproducible one.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset windows-i686 --target Tovix -j 2 -- --no-print-directory
version=$(<build/generated/version.txt)
rm -rf dist
if [[ -z ${TOVIX_SIGN_PFX:-}${TOVIX_SIGN_PASSWORD_FILE:-} ]]; then
  /usr/bin/python3 tools/pack_release.py build/Tovix.exe "$version" dist
else
  signed=build/signed/Tovix.exe
  mkdir -p build/signed
  bash tools/sign.sh build/Tovix.exe "$signed"
  /usr/bin/python3 tools/pack_release.py "$signed" "$version" dist build/Tovix.exe
  # A signer that changed more than the signature would publish a program
  # that nobody can build: such a release is not made.
  /usr/bin/python3 tools/verify_release.py dist build/Tovix.exe >build/signed/verify.log ||
    { cat build/signed/verify.log && rm -rf dist && echo "The signed release does not map back to the build; dist/ removed." >&2 && exit 1; }
fi

# A build from uncommitted changes matches no commit: nobody can check it.
if [[ -n $(git status --porcelain 2>/dev/null) ]]; then
  echo "Note: the working tree has uncommitted changes; this release matches no commit."
fi
zip=dist/Tovix-$version-win32.zip
echo "Release: $zip"
echo "SHA-256: $(sha256sum "$zip" | cut -d' ' -f1)"
