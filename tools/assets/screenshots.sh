#!/usr/bin/env bash
# make screenshots: the README's pictures of the window as it is just after
# start-up, both values read: docs/tovix.png at 100 % (96 DPI) and
# docs/tovix-200.png at 200 % (192 DPI). Each is taken in a fresh Wine prefix
# of its own (a copy of build/wine/screenshots, made once), on a virtual
# display of its own, with the pointer parked in a corner before Tovix starts:
# a pointer over the window would ring what it rests on instead.
# Usage: screenshots.sh [FOLDER]   (docs by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine/wine.sh
out=${1:-docs}
mkdir -p "$out"

finish() {
  [[ -z ${WINEPREFIX:-} ]] || wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap finish EXIT

# The template prefix, made on a display of its own: Wine's desktop process,
# started by the first Wine command, stays on the display that command had,
# and ends with the prefix's wineserver.
start_xvfb
make_prefix "$PWD/build/wine/screenshots" unattended
stop_xvfb

# Waits up to 20 s for the window's picture to hold still: the same pixels in
# three captures in a row, a fifth of a second apart. Tovix fills the icon box
# last, after the window has shown.
capture_settled() { # window file
  local last=$2.last same=0
  for _ in $(seq 100); do
    sleep 0.2
    import -window "$1" -strip "$2"
    if [[ -f $last ]] && cmp -s "$2" "$last"; then ((++same)); else same=0; fi
    cp "$2" "$last"
    if ((same == 2)); then
      rm -f "$last"
      return 0
    fi
  done
  rm -f "$last"
  return 1
}

shoot() { # dots-per-inch file
  export WINEPREFIX=$PWD/build/wine/screenshots-$1
  copy_prefix "$PWD/build/wine/screenshots" "$WINEPREFIX"
  start_xvfb
  # Where the window opens (the centre) stays free of the pointer.
  xdotool mousemove --sync 0 0
  local pointer
  pointer=$(xdotool getmouselocation | cut -d' ' -f1-2)
  [[ $pointer == "x:0 y:0" ]] || { echo "The pointer did not stay in the corner ($pointer)." >&2 && exit 1; }

  # A caret that never blinks (-1, as Windows' setting has it): the picture holds still.
  wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f >/dev/null
  make_zone_key
  use_dpi "$1"
  wine "$RUNNABLE_DIR/Tovix.exe" &
  local window width
  window=$(wait_for_window 'Tovix your Explorer') || { echo "Tovix did not show its window at $1 DPI." >&2 && exit 1; }
  capture_settled "$window" "$2" || { echo "Tovix's window at $1 DPI did not hold still within 20 s." >&2 && exit 1; }
  # The window is its client area's 314 pixels at 96 DPI wide, scaled, and a frame.
  width=$(identify -format '%w' "$2")
  if ((width < 314 * $1 / 96 || width > 314 * $1 / 96 + 40)); then
    echo "$2 is $width pixels wide: not the window at $1 DPI ($((314 * $1 / 96)) pixels and its frame); removed." >&2
    rm -f "$2" && exit 1
  fi
  echo "$2: the window at $1 DPI, $(identify -format '%w x %h' "$2") pixels"

  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
  unset WINEPREFIX
}

shoot 96 "$out/tovix.png"
shoot 192 "$out/tovix-200.png"
