#!/usr/bin/env bash
# Runs one test suite: in a Wine prefix of its own under build/ (made from the
# template prefix, whose files it shares where Wine never writes them), on a
# virtual display of its own; stops its wineserver at the end. Suites run side
# by side: nothing here is shared between them but the template, read only.
# With TOVIX_DPI set, the screen has that many dots per inch, as display scaling
# sets it (125 % is 120, 150 % is 144, 200 % is 192): tools/wine/wine.sh's use_dpi,
# which stops the suite if a program would get another. With TOVIX_CODE_PAGE=932,
# programs get the Japanese double-byte ANSI code page, which Wine takes from
# the locale: compiled into build/ once, so the machine needs no locale of its own.
# The programs it starts must be 32-bit, as the release is; it refuses others.
# Usage: wine-suite.sh WINE_DIR NAME COMMAND...
set -euo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
run_within_time_limit "$0" "$@"

wineDir=$1 name=$2
shift 2
for program in "$@"; do
  [[ $program != *.exe ]] || [[ $(i686-w64-mingw32-objdump -f "$program" 2>/dev/null) == *"file format pei-i386"* ]] ||
    { echo "$program is not a 32-bit Windows program." >&2 && exit 1; }
done
echo "$name: 32-bit programs in 32-bit Wine, $(describe_i386): $*"
export WINEPREFIX=$wineDir/$name
copy_prefix "$wineDir/template" "$WINEPREFIX"
if [[ ${TOVIX_CODE_PAGE:-} == 932 ]]; then
  # Compiled by the first suite that needs it; one that runs beside it waits.
  mkdir -p "$wineDir/locale"
  flock "$wineDir/locale" bash -c '[[ -d $1 ]] || localedef -i ja_JP -f UTF-8 "$1" >/dev/null 2>&1 || true' \
    locale "$wineDir/locale/ja_JP.UTF-8"
  export LOCPATH=$wineDir/locale LC_ALL=ja_JP.UTF-8
fi

start_xvfb
# The pointer starts in a corner, away from where the windows appear.
xdotool mousemove 0 0
finish() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap finish EXIT
# With TOVIX_COLORS=high-contrast, the High Contrast Black scheme's colours as
# Windows sets them, written before any program starts, as Wine 10 reads such
# settings when a session starts.
if [[ ${TOVIX_COLORS:-} == high-contrast ]]; then
  {
    echo '[HKEY_CURRENT_USER\Control Panel\Colors]'
    for colour in Window=0,0,0 WindowText=255,255,255 WindowFrame=255,255,255 ButtonFace=0,0,0 ButtonText=255,255,255 \
      Background=0,0,0 Menu=0,0,0 MenuText=255,255,255 Hilight=26,235,255 HilightText=0,0,0 GrayText=63,242,63; do
      echo "\"${colour%=*}\"=\"$(tr , ' ' <<<"${colour#*=}")\""
    done
  } | preset_user_registry
fi
[[ -z ${TOVIX_DPI:-} ]] || use_dpi "$TOVIX_DPI"
# A program that crashes shows Wine's backtrace; a suite that crashed in the
# middle was seen to end with exit code 0 all the same, so its output fails it.
"$@" 2>&1 | tee "$wineDir/$name.log"
! grep -q '^Unhandled exception' "$wineDir/$name.log" || { echo "FAILED: a program crashed." >&2 && exit 1; }
