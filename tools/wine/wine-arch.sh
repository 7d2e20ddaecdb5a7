#!/usr/bin/env bash
# Prints how this machine runs 32-bit x86 programs, which are what the release
# holds and what the tests, make run and make screenshots start under Wine:
#   native    the kernel runs them itself;
#   emulated  an i386 binfmt_misc entry hands them to qemu's user-mode
#             emulator (make deps registers one where the kernel runs no
#             32-bit code: some virtual machines switch IA-32 emulation off);
#   none      nothing here runs them yet (make deps sets the emulation up).
# The kernel asks binfmt_misc before its own ELF loaders, so where such an
# entry is enabled every 32-bit program runs through it, even on a kernel that
# could run it itself. Sourced, it defines the functions and prints nothing.
BINFMT_MISC=/proc/sys/fs/binfmt_misc

# The binfmt_misc folder shows the entries only where it is mounted: a system
# mounts it at boot, a chroot (make in-debian) does not. Root mounts it.
mount_binfmt_misc() {
  [[ -e $BINFMT_MISC/status ]] && return 0
  [[ $(id -u) -eq 0 ]] && mount -t binfmt_misc binfmt_misc "$BINFMT_MISC" 2>/dev/null
  [[ -e $BINFMT_MISC/status ]]
}

# The file of an enabled entry that takes 32-bit x86 ELF programs, if any: its
# magic is an ELF header of class 1 (32-bit) whose machine (bytes 18-19) is 3.
i386_binfmt_entry() {
  local entry
  mount_binfmt_misc || return 0
  for entry in "$BINFMT_MISC"/*; do
    [[ ${entry##*/} == register || ${entry##*/} == status ]] && continue
    [[ $(head -n1 "$entry" 2>/dev/null) == enabled ]] || continue
    grep -q -E '^magic 7f454c4601[0-9a-f]{26}0300' "$entry" 2>/dev/null && { echo "$entry"; return 0; }
  done
}

# The 32-bit loader of Debian's libc6-i386 is a 32-bit program of its own.
# It runs in a subshell that waits for it, so that where the kernel kills it
# the shell's word on that goes to /dev/null too.
runs_i386() { (/lib/ld-linux.so.2 --version && true) >/dev/null 2>&1; }

i386_mode() {
  if [[ -n $(i386_binfmt_entry) ]]; then
    echo emulated
  elif runs_i386; then
    echo native
  else
    echo none
  fi
}

[[ ${BASH_SOURCE[0]} != "$0" ]] || i386_mode
