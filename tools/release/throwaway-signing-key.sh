#!/usr/bin/env bash
# Makes a throwaway certificate authority and a code-signing key it certifies,
# valid for two days, for trying and testing signed releases: DIR/ca.pem (the
# authority to verify against), DIR/key.pfx and DIR/password, the files that
# TOVIX_SIGN_PFX and TOVIX_SIGN_PASSWORD_FILE name. Windows trusts neither.
# Usage: throwaway-signing-key.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
openssl rand -hex 16 >"$dir/password"
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Tovix throwaway CA" -days 2 \
  -keyout "$dir/ca.key" -out "$dir/ca.pem" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Tovix throwaway signer" -days 2 -CA "$dir/ca.pem" -CAkey "$dir/ca.key" \
  -addext extendedKeyUsage=codeSigning -addext basicConstraints=CA:FALSE -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$dir/key.pem" -in "$dir/cert.pem" -passout "file:$dir/password" -out "$dir/key.pfx"
rm "$dir/ca.key" "$dir/key.pem" "$dir/cert.pem"
