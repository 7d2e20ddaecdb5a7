#!/usr/bin/env bash
# Runs one test suite: in a Wine prefix of its own under build/ (a copy of the
# template prefix), on a virtual display of its own; stops its wineserver at the end.
# Usage: wine-suite.sh WINE_DIR NAME COMMAND...
set -euo pipefail
source "$(dirname "$0")/../tools/wine.sh"

wineDir=$1 name=$2
shift 2
export WINEPREFIX=$wineDir/$name
copy_prefix "$wineDir/template" "$WINEPREFIX"

start_xvfb
# The pointer starts in a corner, away from where the windows appear.
xdotool mousemove 0 0
finish() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap finish EXIT
"$@"
