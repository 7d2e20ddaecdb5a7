#!/usr/bin/env bash
# The real Tovix.exe, driven with real X input on the suite's virtual display:
# the stored values appear in the boxes, the banner rings what the pointer is
# over, and a name typed into the name box and applied with a click is what
# the registry then holds.
# Usage (inside wine-suite.sh): end_to_end.sh TOVIX_EXE
set -euo pipefail
source "$(dirname "$0")/../tools/wine.sh"
exe=$1

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
touch "$work/marker"
sleep 1

wine "$exe" &
tovix=$!
window=$(wait_for_window 'Tovix your Explorer') || fail "no window"
sleep 0.5

# The window's client area, from its outer X geometry: a frame of equal
# width on three sides, and the title bar on top.
eval "$(xdotool getwindowgeometry --shell "$window")"
frame=$(((WIDTH - 314) / 2))
clientX=$((X + frame))
clientY=$((Y + HEIGHT - 294 - frame))

click() { # x y in client pixels
  xdotool mousemove --sync $((clientX + $1)) $((clientY + $2)) click 1
  sleep 0.3
}

# Copies a box's whole text through the clipboard, as a user would.
boxText() { # x y of a point in the box
  click "$1" "$2"
  xdotool key --clearmodifiers Home shift+End ctrl+c
  sleep 0.3
  xclip -o -selection clipboard 2>/dev/null || true
}

# Which ring the banner shows, from two pixels of it: one on the name's
# ring, one on the icon's ring (picture pixels 160,20 and 118,14, inside the
# banner's one-pixel border at 5,5).
isOrange() { # x y in client pixels
  local rgb
  rgb=$(import -window root -crop "1x1+$((clientX + $1))+$((clientY + $2))" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')
  ((16#${rgb:1:2} > 200 && 16#${rgb:3:2} < 160 && 16#${rgb:5:2} < 110)) && echo 1 || echo 0
}
ring() {
  sleep 0.3
  case "$(isOrange 166 26)$(isOrange 124 20)" in
    10) echo name ;;
    01) echo icon ;;
    00) echo none ;;
    *) echo both ;;
  esac
}
pointAt() { # x y in client pixels
  xdotool mousemove --sync $((clientX + $1)) $((clientY + $2))
  xdotool mousemove_relative --sync 1 0
}

passed=0
check() { # what expected actual
  if [[ $2 == "$3" ]]; then
    passed=$((passed + 1))
  else
    fail "$1: expected '$2', got '$3'"
  fi
}

pointAt 200 100 # over the name box
check "banner over the name box" name "$(ring)"
pointAt 40 100 # over its label
check "banner over the name's label" name "$(ring)"
pointAt 20 130 # bare window
check "banner over bare window" none "$(ring)"
pointAt 160 156 # over the icon box
check "banner over the icon box" icon "$(ring)"
pointAt 20 130

check "name box" 'Zona de prueba' "$(boxText 200 100)"
check "icon box" 'explorer.exe#0100' "$(boxText 160 156)"

click 200 100
xdotool key --clearmodifiers Home shift+End BackSpace
xdotool type --delay 20 'Zona nueva'
pointAt 20 130
xdotool type --delay 20 '!'
check "banner while typing a name" name "$(ring)"
xdotool key BackSpace
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
