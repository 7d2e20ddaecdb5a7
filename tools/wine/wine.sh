# Shared by the test, run and benchmark scripts: quiet Wine prefixes under
# build/, each made once, and a virtual X display of our own.
export WINEDEBUG=-all
TOVIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Every program that the scripts start under Wine is 32-bit, as the release
# is, in 32-bit Wine: run by the kernel, or by qemu where the kernel runs no
# 32-bit code (tools/wine/wine-arch.sh; make deps sets that up). Only make bench,
# which times programs as the machine runs them natively, asks with
# TOVIX_WINE64=1 for 64-bit Wine and the same sources built for x86-64.
source "$TOVIX_ROOT/tools/wine/wine-arch.sh"
TOVIX_I386=$(i386_mode)
if [[ ${TOVIX_WINE64:-} == 1 ]]; then
  export WINEARCH=win64
  wine() { /usr/lib/wine/wine64 "$@"; }
  RUNNABLE_DIR=build/x86_64
else
  export WINEARCH=win32
  RUNNABLE_DIR=build
  if [[ $TOVIX_I386 == none ]]; then
    echo "This machine runs no 32-bit x86 code, and no emulation of it is set up: run make deps as root." >&2
    return 1 2>/dev/null || exit 1
  fi
fi

# How the 32-bit programs run here, in a few words: for the logs.
describe_i386() {
  local qemu
  if [[ $TOVIX_I386 == emulated ]]; then
    qemu=$(readlink -m "$(sed -n 's/^interpreter //p' "$(i386_binfmt_entry)")")
    # In a Debian system in a folder (make in-debian) the host's emulator serves, from outside it.
    [[ -x $qemu ]] || { echo "emulated by the host's $qemu" && return 0; }
    echo "emulated by $("$qemu" --version | sed -n '1s/ (.*//p') ($qemu)"
  else
    echo "run natively"
  fi
}

# Runs the calling test script again within its time limit: TOVIX_TIME_LIMIT
# seconds (tests/CMakeLists.txt), TOVIX_EMULATED_SLOWDOWN times as long where
# qemu emulates the 32-bit programs. Past it the script is ended, its exit
# trap stopping what it started, and the failure says which limit it was.
run_within_time_limit() { # script args...
  [[ -n ${TOVIX_TIME_LIMIT:-} ]] || return 0
  local limit=$TOVIX_TIME_LIMIT status=0
  [[ $TOVIX_I386 == emulated ]] && limit=$((limit * TOVIX_EMULATED_SLOWDOWN))
  TOVIX_TIME_LIMIT='' timeout "$limit" bash "$@" || status=$?
  ((status != 124)) || echo "TIMED OUT: not finished within $limit s, the limit for 32-bit programs $(describe_i386)." >&2
  exit "$status"
}

# The one way the scripts start Wine at a DPI, as display scaling sets it
# (125 % is 120, 150 % is 144, 200 % is 192), in the prefix WINEPREFIX names.
# Wine 10, like Windows, fixes each monitor's DPI when a session starts (Wine 8
# read the setting at every program's start): a setting written into a running
# session would change what GetDeviceCaps says and not the monitor's DPI, at
# which Tovix lays itself out. So the setting is written between sessions
# (preset_user_registry), and a probe started in the next session must get the
# DPI asked for, the monitor's and the screen's alike; else this stops, naming
# the numbers. Nothing may pass, or save a picture, at a DPI it did not ask for.
use_dpi() { # dpi
  printf '%s\n' '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=dword:$(printf %08x "$1")" |
    preset_user_registry
  local got
  got=$(wine "$TOVIX_ROOT/$RUNNABLE_DIR/DpiProbe.exe" 2>/dev/null | tr -d '\r')
  if [[ $got != "monitor=$1 screen=$1" ]]; then
    echo "Asked Wine for $1 DPI, but a program started now gets another: ${got:-no answer from DpiProbe.exe}" \
      "(monitor=: the monitor's DPI, at which Tovix lays itself out; screen=: GetDeviceCaps)." >&2
    return 1
  fi
}

# Makes a Wine prefix unless it exists: without network prompts (no Mono or
# Gecko installers), and with Arial drawn by its metric twin so that text
# measures as on Windows. With "unattended", for tests and benchmarks on a
# virtual display: its windows are not left to a window manager (there is
# none, and Wine would wait 2 s for one whenever a window hides or a program
# ends), and a program that crashes ends at once, its backtrace printed,
# instead of waiting for ever in Wine's crash dialog. Such a prefix is the
# template that copy_prefix shares, and one that Wine would update at its next
# start is made again (prefix_outdated). Every prefix, new or made before, is
# given Wine's own fonts (provide_wine_fonts).
make_prefix() {
  local prefix=$1 attended=${2:-}
  [[ $attended != unattended ]] || ! prefix_outdated "$prefix" || rm -rf "$prefix"
  if [[ ! -f $prefix/system.reg ]]; then
    mkdir -p "$prefix"
    WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
    {
      printf '%s\n' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"Arial"="Liberation Sans"'
      [[ $attended != unattended ]] || printf '%s\n' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000'
    } | WINEPREFIX=$prefix import_registry
    WINEPREFIX=$prefix wineserver -w
  fi
  provide_wine_fonts "$prefix"
}

# Whether Wine would update the prefix at its next start: it notes in
# .update-timestamp the time of the wine.inf it was made with, and a prefix
# made by another Wine (before an upgrade) gets its system files written anew,
# in place. Copies that share those files must not start from such a prefix.
prefix_outdated() { # prefix
  local made inf=/usr/share/wine/wine.inf
  made=$(head -c 20 "$1/.update-timestamp" 2>/dev/null | awk '{print $1}') || true
  [[ $made =~ ^[0-9]+$ && -f $inf && $made != "$(stat -c %Y "$inf")" ]]
}

# Where Debian's fonts-wine puts the fonts Wine ships: Marlett, whose glyphs
# are the caption buttons (Close is its "r"), Tahoma, the captions' and
# dialogs' face, and the bitmap system fonts.
WINE_FONTS_DIR=/usr/share/wine/fonts

# Links Wine's own fonts into the prefix's C:\windows\Fonts, which Wine reads
# at every start. Wine 8 as Debian 12 builds it looks for them in
# "<data dir>\../fonts" (Z:\usr\share\wine\../fonts), a name its file lookup
# does not resolve (and that would be /usr/share/fonts if it did), so without
# the links it has none of them: caption buttons fall back to a text face and
# show Marlett's letters ("0 1 r"). Only missing links are made, so a prefix
# made before gets them too, and copies of a prefix (copy_prefix) keep them.
provide_wine_fonts() {
  local fonts=$1/drive_c/windows/Fonts font
  if [[ ! -d $WINE_FONTS_DIR ]]; then
    echo "Wine's fonts are missing ($WINE_FONTS_DIR; Debian's fonts-wine): title bars will show letters for their buttons." >&2
    return 0
  fi
  mkdir -p "$fonts"
  for font in "$WINE_FONTS_DIR"/*; do
    [[ -e $fonts/${font##*/} || -L $fonts/${font##*/} ]] || ln -s "$font" "$fonts/"
  done
}

# Waits up to 20 s for a visible window titled exactly TITLE; prints its X id.
wait_for_window() {
  local title=$1 id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# The key where Windows keeps the status-bar name and icon of lockdown zone 0.
ZONE_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Lockdown_Zones\0'

# Writes registry values in one start of Wine, where each `wine reg add` would
# be a start of its own (about a second, and a few where qemu runs it): the
# lines of a .reg file below its header, on standard input, as
# [HKEY_CURRENT_USER\Key] then "Name"="text" or "Name"=dword:0000000c.
import_registry() {
  local file status=0
  file=$(mktemp --suffix=.reg)
  { echo REGEDIT4 && cat; } >"$file"
  wine reg import "$(windows_path "$file")" >/dev/null 2>&1 || status=$?
  ((status == 0)) || { echo "wine reg import failed ($status) with:" && cat "$file"; } >&2
  rm -f "$file"
  return "$status"
}

# Writes registry values of the user between sessions: appended to the
# prefix's user.reg (WINEPREFIX), which wineserver reads when it starts, after
# the session that runs, if any, has ended. For settings that Wine reads when a
# session starts (the DPI, the colours): written this way, they take no session
# of their own to write, ended before the one that reads them. The lines as for
# import_registry; in user.reg a key is named below HKEY_CURRENT_USER, each
# backslash doubled, and later lines for a key add to it.
preset_user_registry() {
  wineserver -w
  { echo && sed -E '/^\[/ { s/^\[HKEY_CURRENT_USER\\/[/; s/\\/\\\\/g; }'; } >>"$WINEPREFIX/user.reg"
}

# The Windows name of a file under Wine: every Unix path is on drive Z:, so no
# start of Wine (winepath) is needed to tell it.
windows_path() { # path
  local path
  path=$(realpath -m "$1")
  echo "Z:${path//\//\\}"
}

# The data of a REG_SZ value as `wine reg query` shows it, or nothing.
reg_text() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}

# A Windows installation has the zone key; a fresh Wine prefix does not. Makes
# it when missing, from the prefix's own values for zone 0 (a name and an icon).
make_zone_key() {
  local zones='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Zones\0' value
  wine reg query "$ZONE_KEY" >/dev/null 2>&1 && return 0
  for value in DisplayName Icon; do
    wine reg add "$ZONE_KEY" /v "$value" /t REG_SZ /d "$(reg_text "$zones" "$value")" /f >/dev/null
  done
}

# Makes DST a fresh prefix from the template prefix SRC, at a fraction of the
# cost of a prefix's first start, in time and on disk: DST's folders are its
# own, and its files are hard links to SRC's, but for those Wine writes. Traced
# over a whole make test, Wine opens for writing, of the files a prefix starts
# with, only those at its top: the registry files (*.reg) and .update-timestamp.
# wineserver saves a registry file by renaming a new one over it, but one with
# other links it truncates and writes in place, and through a link that write
# would land in SRC and in every other copy. So the files at the top are
# copied, and so are the .ini files, which Windows' profile functions rewrite in
# place. Files that programs make go into DST's own folders.
# tests/wine-template-unchanged.sh checks, after the suites, that SRC is as it was.
copy_prefix() {
  local file
  rm -rf "$2"
  cp -a --link "$1" "$2"
  while IFS= read -r -d '' file; do
    cp -a --remove-destination "$1/${file#"$2"/}" "$file"
  done < <(find "$2" -type f \( ! -path "$2/*/*" -o -name '*.ini' \) -print0)
}

# The SHA-256 of every file in the prefix, one line each, sorted by path: what
# a template held, to compare with what it holds after the suites ran.
prefix_hashes() { # prefix
  (cd "$1" && find . -type f -print0 | xargs -0 -r -n 64 -P 2 sha256sum) | LC_ALL=C sort -k 2
}

# Starts a virtual X display on a free display number and exports DISPLAY.
# Without -noreset, Xvfb resets whenever its last client leaves, and a reset
# puts the pointer back at the screen's centre, where windows open: a pointer
# parked before Wine connects would not stay parked.
start_xvfb() {
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do
    [[ -s $numberFile ]] && break
    sleep 0.05
  done
  DISPLAY=":$(head -n1 "$numberFile")"
  export DISPLAY
  rm -f "$numberFile"
}

stop_xvfb() {
  [[ -n ${XVFB_PID:-} ]] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
