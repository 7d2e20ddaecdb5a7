#!/usr/bin/env bash
# make run: starts build/Tovix.exe under Wine, in a prefix kept for the user
# under build/. With no display it runs on a virtual one, saves a screenshot
# of the window to build/tovix.png, and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine.sh

# The virtual display comes first: Wine's desktop process, started by the
# first Wine command, stays on the display that command had.
headless=0
if [[ -z ${DISPLAY:-} ]]; then
  headless=1
  start_xvfb
fi
finish() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap finish EXIT

export WINEPREFIX=$PWD/build/wine/run
make_prefix "$WINEPREFIX"

# A Windows installation has the zone key; a fresh Wine prefix does not.
# Made only when missing, from the prefix's own values for zone 0.
if ! wine reg query "$ZONE_KEY" >/dev/null 2>&1; then
  zones='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\0'
  for value in DisplayName Icon; do
    wine reg add "$ZONE_KEY" /v "$value" /t REG_SZ /d "$(reg_text "$zones" "$value")" /f >/dev/null
  done
fi

# Windows are left to the desktop's window manager; a virtual display has none.
managed=Y
[[ $headless == 1 ]] && managed=N
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f >/dev/null 2>&1

if [[ $headless == 0 ]]; then
  trap - EXIT
  exec wine "$RUNNABLE_DIR/Tovix.exe"
fi

wine "$RUNNABLE_DIR/Tovix.exe" &
if ! window=$(wait_for_window 'Tovix your Explorer'); then
  echo "Tovix did not show its window." >&2
  exit 1
fi
sleep 1  # the first paint
import -window "$window" build/tovix.png
echo "No display here: Tovix ran on a virtual display. Its window: build/tovix.png"
