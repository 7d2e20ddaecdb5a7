#!/usr/bin/env bash
# Runs a command in the suite's Wine prefix with the screen at DPI dots per
# inch, as display scaling sets it (125 % is 120, 150 % is 144, 200 % is 192).
# Usage: dpi.sh DPI COMMAND...
set -euo pipefail
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
TOVIX_DPI=$1 exec "${@:2}"
