#!/usr/bin/env bash
# What Tovix.exe carries, read with tools we did not write: a 32-bit GUI
# program importing only Windows system DLLs, its icons (icoutils), its
# version block (exiftool), its manifest, and its pictures (ImageMagick); and
# the release: the same bytes from a second build elsewhere, the zip's entries
# (zipinfo) and SHA256SUMS (sha256sum); signed with a throwaway key, checked
# by osslsigncode and started under 32-bit Wine, natively or emulated.
# Usage (inside wine-suite.sh): packaging.sh TOVIX_EXE ELSEWHERE
#   ELSEWHERE: the folder where tests/packaging-build.sh built the copy.
set -uo pipefail
source "$(dirname "$0")/../tools/wine/wine.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0 failed=0
check() { # what expected actual
  [[ $2 == "$3" ]] && passed=$((passed + 1)) && return
  failed=$((failed + 1))
  printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
}

# The program file.
headers=$(i686-w64-mingw32-objdump -p "$exe")
check "PE32 for i386" "pei-i386" "$(i686-w64-mingw32-objdump -f "$exe" | sed -n 's/.*file format //p')"
check "GUI subsystem" "00000002	(Windows GUI)" "$(sed -n 's/^Subsystem[[:space:]]*//p' <<<"$headers")"
check "system DLLs only" "" "$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' |
  grep -v -x -E 'kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|ole32.dll|oleaut32.dll|msvcrt.dll|advapi32.dll|comdlg32.dll')"
# For Windows 7 and later (else Windows reports it an old program's metrics); randomised, with its relocations;
# no-execute data; no exception handler registered; aware of Remote Desktop sessions; stack canaries, seen in the
# disassembly: in 20 functions or more, the same guard in memory subtracted from the frame's canary and the same
# function called when they differ; the guard drawn from RtlGenRandom, looked up by its export name, and no
# CryptoAPI import, whose provider would load at every start.
hardening=$(awk '/^(Major|Minor)(OSystem|Subsystem)Version/ {print $2} /^DllCharacteristics/,/^SizeOf/ {if (!/^SizeOf/) print $NF}' <<<"$headers")
canaryChecks=$(i686-w64-mingw32-objdump -d -M intel "$exe" | awk -F'\t' 'NF >= 3 {
    instruction = $3; gsub(/ +/, " ", instruction)
    if (instruction ~ /^call (0x)?[0-9a-f]+/ && last ~ /^je / && before ~ /^sub e[a-d]x,DWORD PTR ds:0x/)
      checks[substr(before, index(before, ":") + 1) " " instruction]++
    before = last; last = instruction }
  END { for (pair in checks) if (checks[pair] > most) most = checks[pair]; print most + 0 }')
check "OS and subsystem version, hardening" \
  "6 1 6 1 00008540 DYNAMIC_BASE NX_COMPAT NO_SEH TERMINAL_SERVICE_AWARE .reloc canaries SystemFunction036" \
  "$({ echo "$hardening" && i686-w64-mingw32-objdump -h "$exe" | awk '$2 == ".reloc" {print $2}'
    ((canaryChecks >= 20)) && echo canaries || echo "canaries in $canaryChecks functions"
    i686-w64-mingw32-strings -a "$exe" | grep -m1 -x SystemFunction036
    grep -o -w -E 'Crypt[A-Za-z]+' <<<"$headers"; } | xargs)"
check "at most 400 KB" "yes" "$( (($(stat -c %s "$exe") <= 400 * 1024)) && echo yes || echo no)"

# The icons: the file's icon is group 1 of images 30001 to 30006; the window's is group 2.
sixImages="32x32/8 16x16/8 128x128/32 48x48/32 32x32/32 16x16/32"
iconSizes() {
  wrestool -x -t14 -n"$1" "$exe" >"$work/icon.ico"
  icotool -l "$work/icon.ico" | sed -E 's/.*--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+).*/\1x\2\/\3/' | xargs
}
check "file icon images" "$sixImages" "$(iconSizes 1)"
check "window icon images" "$sixImages" "$(iconSizes 2)"
groupIds=$(wrestool -x --raw -t14 -n1 "$exe" | od -An -tu2 -j6 -w14 -v | awk '{print $7}' | xargs)
check "file icon image ids" "30001 30002 30003 30004 30005 30006" "$groupIds"

# The version block.
check "version block" "1.0.0.0|1.0.0.0|(none)|Win32|Executable application|Spanish (Modern)|Unicode|1.00|1.00|\
Tovix|Tovix.exe|Personaliza el Explorador de Windows|Una sencilla aplicación de personalización" \
  "$(exiftool -s3 -FileVersionNumber -ProductVersionNumber -FileFlags -FileOS -ObjectFileType -LanguageCode \
    -CharacterSet -FileVersion -ProductVersion -InternalName -OriginalFileName -FileDescription -Comments "$exe" |
    paste -sd'|')"

# The manifest: the themed controls, its own identity, per-monitor DPI (and
# the older entry), UTF-8 as the code page, the systems it supports, no elevation.
manifest=$(wrestool -x --raw -t24 -n1 "$exe" | tr -s ' \n' ' ')
for entry in \
  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*"' \
  'type="win32" name="Tovix.Tovix" version="1.0.0.0" processorArchitecture="x86"' '<description>Windows Shell</description>' \
  '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>' \
  '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>' \
  '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>' \
  '<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>' '<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>' \
  '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>' '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
  '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'; do
  check "manifest entry" "$entry" "$(grep -o -F "$entry" <<<"$manifest")"
done

# The pictures: baseline JPEGs, YCbCr 4:2:0, JFIF 1.01 at 72 dpi, 300 x 63 and drawn for 200 %.
for id in 101 102 103 201 202 203; do
  size=300x63
  ((id > 200)) && size=600x126
  wrestool -x --raw -t10 -n$id "$exe" >"$work/$id.jpg"
  check "picture $id" "JPEG $size None 2x2,1x1,1x1 72x72 PixelsPerInch" \
    "$(identify -format '%m %wx%h %[interlace] %[jpeg:sampling-factor] %x×%y %U' "$work/$id.jpg" | sed 's/×/x/')"
  check "picture $id JFIF 1.01" "4a46494600 0101" "$(od -An -tx1 -j6 -N7 "$work/$id.jpg" | tr -d ' ' | sed -E 's/(.{10})(.{4})/\1 \2/')"
done

# A copy of the sources in another folder, configured afresh, builds the same
# bytes. The copy sits in build/: git must not find this checkout from there.
source=$(cd "$(dirname "$0")/.." && pwd) elsewhere=$2/tovix
export GIT_CEILING_DIRECTORIES=$2
check "the same program built elsewhere" yes "$(cmp "$exe" "$elsewhere/build/Tovix.exe" && echo yes)"

# The release: the program and README.txt, stored, MS-DOS attributes, no extra fields, the commit's time;
# make dist without a key in the copy (which has no git to date it) packs the same bytes, with this
# system's toolchain (TOVIX_DIST_HOST: on any system but Debian 12 it would build in a Debian 12 one).
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct) TOVIX_DIST_HOST=1
(cd "$elsewhere" && bash tools/release/buildinfo.sh) >"$work/BUILDINFO"
/usr/bin/python3 "$source/tools/release/pack-release.py" "$exe" "$(<"$(dirname "$exe")/generated/version.txt")" "$work/dist" "$work/BUILDINFO"
make -s -C "$elsewhere" dist >/dev/null
check "make dist without a key" "" "$(diff -r "$work/dist" "$elsewhere/dist")"
when=$(TZ=UTC LC_ALL=C git -C "$source" log -1 --format=%cd --date=format-local:'%y-%b-%d %H:%M')
check "zip entries" "-rwxa-- fat b- stor $when Tovix.exe -rw-a-- fat b- stor $when README.txt" \
  "$(LC_ALL=C zipinfo "$work/dist/Tovix-1.0.0.0-win32.zip" | awk '/^-/ {print $1, $3, $5, $6, $7, $8, $9}' | xargs)"
check "SHA256SUMS" "Tovix-1.0.0.0-win32.zip: OK Tovix.exe: OK BUILDINFO: OK" "$(cd "$work/dist" && sha256sum -c SHA256SUMS | xargs)"
check "BUILDINFO" "Debian: $(. /etc/os-release && echo "$VERSION_ID ($VERSION_CODENAME)") Package: g++-mingw-w64-i686-posix \
$(dpkg-query -W -f='${Version}' g++-mingw-w64-i686-posix)" "$(grep -E '^(Debian|Package: g\+\+)' "$work/dist/BUILDINFO" | xargs)"

# Signed by make dist with a throwaway authority's code-signing key: the
# signature holds, and fails once a byte changes; the resources read the same;
# the release maps back to the build, and a build a byte off is named.
bash "$source/tools/release/throwaway-signing-key.sh" "$work/key"
export TOVIX_SIGN_PFX=$work/key/key.pfx TOVIX_SIGN_PASSWORD_FILE=$work/key/password
make -s -C "$elsewhere" dist >/dev/null
signed=$elsewhere/dist/Tovix.exe
changed() { # program copy: the copy with its byte 1024 (in .text) inverted
  cp "$1" "$2" && printf "$(printf '\\%03o' $((255 - $(od -An -tu1 -j1024 -N1 "$1"))))" | dd of="$2" bs=1 seek=1024 conv=notrunc status=none
}
changed "$exe" "$work/changed.exe" && changed "$signed" "$work/signed-changed.exe"
verified() { osslsigncode verify -CAfile "$work/key/ca.pem" -in "$1" >/dev/null 2>&1 && echo yes || echo no; }
check "signature, and with one byte changed" "yes no" "$(verified "$signed") $(verified "$work/signed-changed.exe")"
resources() { for type in 3 10 14 16 24; do wrestool -x --raw -t$type "$1" | sha256sum; done; }
check "the signed program's resources" "$(resources "$exe")" "$(resources "$signed")"
verify() { /usr/bin/python3 "$source/tools/release/verify-release.py" "$elsewhere/dist" "$1" 2>&1 | grep -E '^(The release|  bytes)'; }
check "the signed release against the build" "The release matches this build." "$(verify "$exe")"
check "against a build one byte off" "  bytes 0x00000400-0x00000400 (1): section .text
The release does not match: 1 check(s) failed." "$(verify "$work/changed.exe")"
# A release whose program another compiler made: the check names the versions that differ.
sed 's/^Package: g++-mingw-w64-i686-posix .*/Package: g++-mingw-w64-i686-posix 99.1/' "$work/BUILDINFO" >"$work/other.BUILDINFO"
/usr/bin/python3 "$source/tools/release/pack-release.py" "$work/changed.exe" 1.0.0.0 "$work/other" "$work/other.BUILDINFO"
check "a release from another compiler" "  g++-mingw-w64-i686-posix: 99.1 in the release, $(dpkg-query -W -f='${Version}' g++-mingw-w64-i686-posix) here" \
  "$(/usr/bin/python3 "$source/tools/release/verify-release.py" "$work/other" "$exe" "$work/BUILDINFO" | grep '^  g++')"

# The signed program starts: its window shows, and closes with exit code 0.
printf '%s\n' "[${ZONE_KEY/HKCU/HKEY_CURRENT_USER}]" '"DisplayName"="x"' '"Icon"="x"' | import_registry
wine "$signed" &
tovix=$!
if window=$(wait_for_window 'Tovix your Explorer'); then xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4; else kill "$tovix"; fi
wait "$tovix"; status=$?
check "the signed program's window, shown then closed" "shown 0" "${window:+shown} $status"

echo "$passed passed, $failed failed"
((failed == 0))
