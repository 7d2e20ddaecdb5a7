#!/usr/bin/env bash
# The real Tovix.exe at 200 % display scaling, driven with real X input on the
# suite's virtual display: over the name box the banner on the screen is the
# name picture drawn for 200 %, pixel for pixel; a name typed
# and applied with a click is the one change in the user's registry; closing
# ends the program, and no file was written. (What the boxes show, and the
# rest of the banner's behaviour, the in-process tests check.)
# Usage (inside wine-suite.sh): end_to_end.sh TOVIX_EXE
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
exe=$1
px() { echo $(($1 * TOVIX_DPI / 96)); } # pixels at 96 DPI, on this screen
check() { # what expected actual
  [[ $2 == "$3" ]] || { echo "FAILED: $1: expected '$2', got '$3'" >&2 && exit 1; }
}

printf '%s\n' "[${ZONE_KEY/HKCU/HKEY_CURRENT_USER}]" '"DisplayName"="Zona de prueba"' '"Icon"="explorer.exe#0100"' | import_registry

# The user's registry before the run (less the settings Wine keeps of its own
# running session), and the name picture drawn for 200 % built into the program.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
exportUserRegistry() { # file
  wine regedit /E "$(windows_path "$1")" HKEY_CURRENT_USER
  iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' |
    awk '/^\[/ { skip = index($0, "\\Software\\Wine\\Temporary System Parameters") > 0 } !skip' >"$1.txt"
}
exportUserRegistry "$work/before.reg"
wrestool -x --raw -t10 -n202 "$exe" >"$work/202.jpg"  # the name picture drawn for 200 %
touch "$work/marker"

wine "$exe" &
tovix=$!
window=$(wait_for_window 'Tovix your Explorer') || check "window" shown none
# The client area, from the window's outer geometry: a frame of equal width
# on three sides, and the title bar on top.
eval "$(xdotool getwindowgeometry --shell "$window")"
clientX=$((X + (WIDTH - $(px 314)) / 2))
clientY=$((Y + HEIGHT - $(px 294) - (WIDTH - $(px 314)) / 2))
pointAt() { # x y in client pixels at 96 DPI
  xdotool mousemove --sync $((clientX + $(px "$1"))) $((clientY + $(px "$2"))) mousemove_relative --sync 1 0
}

# Pointing at the name box rings the name: the banner holds the pixels of
# the name picture drawn for 200 %, to within the rounding of two JPEG
# decoders (the plain and ringed pictures differ by about 9 %, the 100 % one
# enlarged by about 5 %).
# Read off the screen until it shows, for up to 10 s.
pointAt 200 100
for _ in $(seq 50); do
  import -window root -crop "$(px 300)x$(px 63)+$((clientX + $(px 5) + 1))+$((clientY + $(px 5) + 1))" "$work/shown.png"
  off=$(compare -metric RMSE "$work/shown.png" "$work/202.jpg" null: 2>&1 || true)
  shown=$(awk -F'[()]' '{ print ($2 < 0.01 ? "yes" : "no") }' <<<"$off")
  [[ $shown == yes ]] && break
  sleep 0.2
done
check "banner over the name box, off the 200 % name picture by $off" yes "$shown"

xdotool click 1 key --clearmodifiers Home shift+End BackSpace type --delay 20 'Zona nueva'
pointAt 158 260 # Apply changes...
xdotool click 1

# Closing the window ends the program, with exit code 0. Its one thread takes
# the X input in order: the click on Apply before the keys that close it.
xdotool key --clearmodifiers alt+F4
status=0
wait "$tovix" || status=$?
check "exit code" 0 "$status"

# Nothing changed in the user's registry but the name, and no file was made
# anywhere in the prefix. Wine writes the registry's own files (*.reg) itself.
exportUserRegistry "$work/after.reg"
check "registry changes" '< "DisplayName"="Zona de prueba"
> "DisplayName"="Zona nueva"' "$(diff "$work/before.reg.txt" "$work/after.reg.txt" | grep "^[<>]" || true)"
wineserver -w
check "files made in the prefix" "" "$(find "$WINEPREFIX" -newer "$work/marker" -type f ! -name '*.reg' | sed "s|$WINEPREFIX/||")"
echo "passed"
