#!/usr/bin/env bash
# The second build that tests/packaging.sh compares Tovix.exe with: the
# sources (the working tree, less build/, dist/ and .git) copied to another
# folder, configured afresh and built there. A test of its own, set up for
# packaging, so that it runs while the template prefix is made, whose first
# start leaves much of the machine idle, rather than beside the suites.
# Usage: packaging-build.sh FOLDER   (the copy goes to FOLDER/tovix)
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
run_within_time_limit "$0" "$@"

source=$(cd "$(dirname "$0")/.." && pwd) elsewhere=$1/tovix
rm -rf "$1"
mkdir -p "$elsewhere"
tar -C "$source" -c --exclude=./build --exclude=./dist --exclude=./.git . | tar -x -C "$elsewhere"
cd "$elsewhere"
(cmake --preset windows-i686 -DBUILD_TESTING=OFF && cmake --build build --target Tovix -j 2) >"$1/build.log" 2>&1 ||
  { cat "$1/build.log" && echo "The copy in $elsewhere did not build (its log is above)." >&2 && exit 1; }
echo "Built $elsewhere/build/Tovix.exe"
