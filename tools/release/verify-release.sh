#!/usr/bin/env bash
# make verify-release DIST=FOLDER (or the zip, with SHA256SUMS and BUILDINFO
# beside it): checks a published release, signed or not, against this commit's
# build (tools/release/verify-release.py). The build is Debian 12's, as every
# release's is: on any other system it is made in a Debian 12 system in a
# folder (make in-debian), and the check runs there; TOVIX_DIST_HOST=1 checks
# against this system's own build instead.
# Usage: verify-release.sh RELEASE
set -euo pipefail
cd "$(dirname "$0")/../.."
[[ -n ${1:-} ]] || { echo "Usage: make verify-release DIST=FOLDER_OR_ZIP" >&2 && exit 2; }
[[ -e $1 ]] || { echo "No release at $1." >&2 && exit 2; }

# shellcheck source=/dev/null
. /etc/os-release
if [[ ${VERSION_CODENAME:-} != bookworm && -z ${TOVIX_DIST_HOST:-} ]]; then
  echo "This is ${PRETTY_NAME:-not Debian 12}: the release is checked against a build in Debian 12, where releases are built."
  VERIFY=$(realpath "$1") exec bash tools/run/in-debian.sh bookworm verify-release
fi
cmake --build --preset windows-i686 --target Tovix -j 2 -- --no-print-directory
bash tools/release/buildinfo.sh >build/BUILDINFO
exec /usr/bin/python3 tools/release/verify-release.py "$1" build/Tovix.exe build/BUILDINFO
