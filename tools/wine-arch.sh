#!/usr/bin/env bash
# Prints which Wine runs Tovix's programs on this machine: win32 where the
# kernel runs 32-bit x86 code, win64 where it does not (some virtual machines
# switch IA-32 emulation off, and then 32-bit Wine cannot start at all). There
# the programs that the tests, benchmarks and `make run` start are the same
# sources built for x86-64; the release is the 32-bit Tovix.exe all the same.
# TOVIX_WINE_ARCH=win64 asks for the 64-bit way on any machine.
# The 32-bit loader of Debian's libc6-i386 starts only where 32-bit code runs.
if [[ -n ${TOVIX_WINE_ARCH:-} ]]; then
  echo "$TOVIX_WINE_ARCH"
elif /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
