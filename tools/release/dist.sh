#!/usr/bin/env bash
# make dist: builds Tovix.exe and packs the release into dist/: the program,
# Tovix-<version>-win32.zip for Windows users, BUILDINFO (the commit, the Debian
# release and the toolchain's package versions), and SHA256SUMS for all three.
# A release is what Debian 12's toolchain makes of a commit: the same bytes
# wherever and whenever it is built there. On any other system (Debian 13, say)
# the program is built in a Debian 12 system made in a folder (make in-debian),
# so that the same commit gives the same bytes on either; TOVIX_DIST_HOST=1
# builds with this system's toolchain instead, a release of its own. See
# docs/reproducible-build.md.
# With TOVIX_SIGN_PFX and TOVIX_SIGN_PASSWORD_FILE (see tools/release/sign.sh), the
# program is signed with Authenticode here before it is packed, and SHA256SUMS
# also names the unsigned program's checksum, which stays the reproducible one.
set -euo pipefail
cd "$(dirname "$0")/../.."

# shellcheck source=/dev/null
. /etc/os-release
version=$(<build/generated/version.txt)
if [[ ${VERSION_CODENAME:-} != bookworm && -z ${TOVIX_DIST_HOST:-} ]]; then
  echo "This is ${PRETTY_NAME:-not Debian 12}: the release is built in Debian 12, as every release is."
  env -u TOVIX_SIGN_PFX -u TOVIX_SIGN_PASSWORD_FILE bash tools/run/in-debian.sh bookworm dist
  mkdir -p build/debian-12
  cp dist/Tovix.exe dist/BUILDINFO build/debian-12/
  program=build/debian-12/Tovix.exe buildinfo=build/debian-12/BUILDINFO
  [[ -n ${TOVIX_SIGN_PFX:-}${TOVIX_SIGN_PASSWORD_FILE:-} ]] || exit 0
else
  cmake --build --preset windows-i686 --target Tovix -j 2 -- --no-print-directory
  program=build/Tovix.exe buildinfo=build/BUILDINFO
  bash tools/release/buildinfo.sh >"$buildinfo"
fi

rm -rf dist
if [[ -z ${TOVIX_SIGN_PFX:-}${TOVIX_SIGN_PASSWORD_FILE:-} ]]; then
  /usr/bin/python3 tools/release/pack-release.py "$program" "$version" dist "$buildinfo"
else
  signed=build/signed/Tovix.exe
  mkdir -p build/signed
  bash tools/release/sign.sh "$program" "$signed"
  /usr/bin/python3 tools/release/pack-release.py "$signed" "$version" dist "$buildinfo" "$program"
  # A signer that changed more than the signature would publish a program
  # that nobody can build: such a release is not made.
  /usr/bin/python3 tools/release/verify-release.py dist "$program" "$buildinfo" >build/signed/verify.log ||
    { cat build/signed/verify.log && rm -rf dist && echo "The signed release does not map back to the build; dist/ removed." >&2 && exit 1; }
fi

# A build from uncommitted changes matches no commit: nobody can check it.
if [[ -n $(git status --porcelain 2>/dev/null) ]]; then
  echo "Note: the working tree has uncommitted changes; this release matches no commit."
fi
zip=dist/Tovix-$version-win32.zip
echo "Release: $zip"
echo "SHA-256: $(sha256sum "$zip" | cut -d' ' -f1)"
