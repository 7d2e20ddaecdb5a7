#!/usr/bin/env bash
# The real Tovix.exe at 200 % display scaling, driven with real X input on the
# suite's virtual display: the stored values appear in the boxes; the banner on
# the screen is the picture drawn for 200 %, pixel for pixel, and rings the name
# over the name box; a name typed and applied with a click is the one change
# in the user's registry; closing ends the program, and no file was written.
# Usage (inside wine-suite.sh and dpi.sh): end_to_end.sh TOVIX_EXE
set -euo pipefail
source "$(dirname "$0")/../tools/wine.sh"
exe=$1
px() { echo $(($1 * TOVIX_DPI / 96)); } # pixels at 96 DPI, on this screen

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

wine reg add "$ZONE_KEY" /v DisplayName /t REG_SZ /d 'Zona de prueba' /f >/dev/null
wine reg add "$ZONE_KEY" /v Icon /t REG_SZ /d 'explorer.exe#0100' /f >/dev/null

# What the user's registry and the prefix's files look like before the run.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Wine itself keeps settings of the running session under
# Software\Wine\Temporary System Parameters: left out of the comparison.
exportUserRegistry() { # file
  wine regedit /E "$(winepath -w "$1")" HKEY_CURRENT_USER
  iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' |
    awk '/^\[/ { skip = index($0, "\\Software\\Wine\\Temporary System Parameters") > 0 } !skip' >"$1.txt"
}
exportUserRegistry "$work/before.reg"
# The three pictures drawn for 200 %, as built into the program.
for id in 201 202 203; do wrestool -x --raw -t10 -n$id "$exe" >"$work/$id.jpg"; done
touch "$work/marker"
sleep 1

wine "$exe" &
tovix=$!
window=$(wait_for_window 'Tovix your Explorer') || fail "no window"
sleep 0.5

# The window's client area, from its outer X geometry: a frame of equal
# width on three sides, and the title bar on top.
eval "$(xdotool getwindowgeometry --shell "$window")"
frame=$(((WIDTH - $(px 314)) / 2))
clientX=$((X + frame))
clientY=$((Y + HEIGHT - $(px 294) - frame))

pointAt() { # x y in client pixels at 96 DPI
  xdotool mousemove --sync $((clientX + $(px "$1"))) $((clientY + $(px "$2")))
  xdotool mousemove_relative --sync 1 0
}
click() { # x y in client pixels at 96 DPI
  pointAt "$1" "$2"
  xdotool click 1
  sleep 0.3
}

# Copies a box's whole text through the clipboard, as a user would.
boxText() { # x y of a point in the box
  click "$1" "$2"
  xdotool key --clearmodifiers Home shift+End ctrl+c
  sleep 0.3
  xclip -o -selection clipboard 2>/dev/null || true
}

# Which picture the banner shows: the one drawn for 200 % whose pixels the
# screen holds, to within the rounding of two JPEG decoders (the plain and the
# ringed pictures differ by about 9 %, the 100 % one enlarged by about 5 %).
banner() {
  sleep 0.3
  import -window root -crop "$(px 300)x$(px 63)+$((clientX + $(px 5) + 1))+$((clientY + $(px 5) + 1))" "$work/shown.png"
  local id error
  for id in 201 202 203; do
    error=$(compare -metric RMSE "$work/shown.png" "$work/$id.jpg" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/' || true)
    if awk -v e="$error" 'BEGIN { exit !(e < 0.01) }'; then
      case $id in 201) echo plain ;; 202) echo name ;; 203) echo icon ;; esac
      return
    fi
  done
  echo "none (the plain picture is off by $(compare -metric RMSE "$work/shown.png" "$work/201.jpg" null: 2>&1 || true))"
}

passed=0
check() { # what expected actual
  if [[ $2 == "$3" ]]; then
    passed=$((passed + 1))
  else
    fail "$1: expected '$2', got '$3'"
  fi
}

pointAt 20 130 # bare window
check "banner over bare window" plain "$(banner)"
pointAt 200 100 # over the name box
check "banner over the name box" name "$(banner)"

check "name box" 'Zona de prueba' "$(boxText 200 100)"
check "icon box" 'explorer.exe#0100' "$(boxText 160 156)"

click 200 100
xdotool key --clearmodifiers Home shift+End BackSpace
xdotool type --delay 20 'Zona nueva'
click 158 260 # Apply changes...
for _ in $(seq 50); do
  [[ $(reg_text "$ZONE_KEY" DisplayName) == 'Zona nueva' ]] && break
  sleep 0.1
done
check "stored name" 'Zona nueva' "$(reg_text "$ZONE_KEY" DisplayName)"
check "stored icon" 'explorer.exe#0100' "$(reg_text "$ZONE_KEY" Icon)"

# Closing the window ends the program, with exit code 0.
xdotool key --clearmodifiers alt+F4
status=0
wait "$tovix" || status=$?
check "exit code" 0 "$status"

# Nothing changed in the user's registry but the name, and no file was made
# anywhere in the prefix. Wine writes the registry's own files (*.reg) itself.
exportUserRegistry "$work/after.reg"
changes=$(diff "$work/before.reg.txt" "$work/after.reg.txt" | grep "^[<>]" || true)
check "registry changes" '< "DisplayName"="Zona de prueba"
> "DisplayName"="Zona nueva"' "$changes"
wineserver -w
check "files made in the prefix" "" "$(find "$WINEPREFIX" -newer "$work/marker" -type f ! -name '*.reg' | sed "s|$WINEPREFIX/||")"

echo "$passed passed, 0 failed"
