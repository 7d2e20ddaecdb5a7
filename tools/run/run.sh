#!/usr/bin/env bash
# make run: starts Tovix.exe under Wine, in a prefix kept for the user under
# build/. With no display it takes the README's pictures instead
# (tools/assets/screenshots.sh): the window on virtual displays, at 100 % and 200 %,
# saved under build/screenshots/, so that the committed ones in docs/ stay as
# they are (make screenshots replaces those).
set -euo pipefail
cd "$(dirname "$0")/../.."
if [[ -z ${DISPLAY:-} ]]; then
  echo "No display here: Tovix runs on virtual displays, its pictures saved in build/screenshots/."
  exec bash tools/assets/screenshots.sh build/screenshots
fi
source tools/wine/wine.sh

export WINEPREFIX=$PWD/build/wine/run
make_prefix "$WINEPREFIX"
make_zone_key
# Windows are left to the desktop's window manager.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
exec wine "$RUNNABLE_DIR/Tovix.exe"
