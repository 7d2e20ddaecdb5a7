#!/usr/bin/env bash
# Runs a command as on a machine whose kernel runs no 32-bit x86 code
# (tools/wine/without-i386.c), for checking on any machine what such a machine
# does: for example `bash tools/wine/without-i386.sh make test`, or
# `... make in-debian RELEASE=trixie TARGET=test`. Needs root and Linux 6.7
# or later; the emulation that make deps sets up inside ends with the command.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/run/deps.sh gcc libc6-dev
mkdir -p build
[[ build/without-i386 -nt tools/wine/without-i386.c ]] ||
  gcc -O2 -Wall -Wextra -Werror -o build/without-i386 tools/wine/without-i386.c
exec build/without-i386 "$@"
