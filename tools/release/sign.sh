#!/usr/bin/env bash
# Signs a Windows program with Authenticode (osslsigncode, SHA-256 digest),
# with the key that the environment names:
#   TOVIX_SIGN_PFX            the key and its certificate chain, as PKCS#12
#   TOVIX_SIGN_PASSWORD_FILE  the file holding its password (the first line)
#   TOVIX_SIGN_DESCRIPTION    optional: the program's description in the signature
#   TOVIX_SIGN_URL            optional: the publisher's web address in the signature
#   TOVIX_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamp server
# osslsigncode reads the password from its file itself (-readpass), so that it
# is never on a command line, where every user of the machine could read it.
# Without a time stamp Windows trusts the signature only until the
# certificate expires; with one it knows the program was signed while the
# certificate was valid, and keeps trusting it after.
# Usage: sign.sh IN_EXE OUT_EXE
set -euo pipefail

in=$1 out=$2
for file in "${TOVIX_SIGN_PFX:-}" "${TOVIX_SIGN_PASSWORD_FILE:-}"; do
  [[ -n $file && -r $file ]] && continue
  echo "Signing needs TOVIX_SIGN_PFX and TOVIX_SIGN_PASSWORD_FILE, readable files (now '${TOVIX_SIGN_PFX:-}' and '${TOVIX_SIGN_PASSWORD_FILE:-}')." >&2
  exit 1
done

options=(-pkcs12 "$TOVIX_SIGN_PFX" -readpass "$TOVIX_SIGN_PASSWORD_FILE" -h sha256)
[[ -z ${TOVIX_SIGN_DESCRIPTION:-} ]] || options+=(-n "$TOVIX_SIGN_DESCRIPTION")
[[ -z ${TOVIX_SIGN_URL:-} ]] || options+=(-i "$TOVIX_SIGN_URL")
[[ -z ${TOVIX_SIGN_TIMESTAMP_URL:-} ]] || options+=(-ts "$TOVIX_SIGN_TIMESTAMP_URL")
rm -f "$out"
osslsigncode sign "${options[@]}" -in "$in" -out "$out" >/dev/null ||
  { echo "osslsigncode could not sign $in (its messages are above)." >&2 && exit 1; }
