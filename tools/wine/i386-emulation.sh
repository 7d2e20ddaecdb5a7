#!/usr/bin/env bash
# Sets up 32-bit x86 emulation on a machine whose kernel runs no 32-bit code,
# so that the 32-bit Tovix.exe, 32-bit Wine and the 32-bit test suites run
# there as they do elsewhere (make deps calls it, as root, where
# tools/wine/wine-arch.sh says none, and to check a registered emulator where it
# says emulated): qemu's user-mode emulator at version 8 or
# later, and the i386 binfmt_misc entry that Debian ships with it but does not
# register on amd64. qemu 7.2, Debian 12's own, ignores MAP_FIXED_NOREPLACE,
# and every Wine process then spends about a minute probing its address space;
# Debian 13 has qemu 10, and so have Debian 12's backports, from which only
# that package is taken (backports are never chosen by themselves). The entry
# is registered for the whole machine, until it restarts (make deps then
# registers it again); its F flag opens the emulator once, so that it serves
# in chroots too. It ends by running a 32-bit program, and says in one line
# what it changed. Changes nothing where 32-bit programs run already.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine/wine-arch.sh

fail() {
  echo "32-bit x86 programs cannot run on this machine: $1" >&2
  echo "A kernel that runs them itself needs no emulation: on Linux 6.7 and later, boot it with ia32_emulation=1." >&2
  exit 1
}
grep -q -w binfmt_misc /proc/filesystems || fail "its kernel has no binfmt_misc (CONFIG_BINFMT_MISC), through which qemu would run them."
mount_binfmt_misc || fail "binfmt_misc could not be mounted on $BINFMT_MISC (a container without the right to mount?)."

qemuVersion() { # the major version of the emulator at PATH, 0 if none
  local version
  version=$("$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9]*\)\..*/\1/p') || true
  echo "${version:-0}"
}
case $(i386_mode) in
  native) exit 0 ;;
  emulated)
    entry=$(i386_binfmt_entry)
    interpreter=$(sed -n 's/^interpreter //p' "$entry")
    # In a Debian system in a folder (make in-debian), the host's emulator
    # serves through an entry whose F flag opened it when it was registered,
    # though its file is not in this file system: its version was checked there.
    [[ -e $interpreter || $(sed -n 's/^flags: //p' "$entry") != *F* ]] || ! runs_i386 || exit 0
    interpreter=$(readlink -m "$interpreter")
    (($(qemuVersion "$interpreter") >= 8)) && runs_i386 && exit 0
    fail "$entry hands them to $interpreter (qemu $(qemuVersion "$interpreter")), which does not start them or is older than 8. Remove it (echo -1 > $entry), then run make deps again." ;;
esac
changed=()
qemu=/usr/bin/qemu-i386
conf=/usr/share/qemu/binfmt.d/qemu-i386.conf
if [[ ! -f $conf ]] || (($(qemuVersion $qemu) < 8)); then
  # shellcheck disable=SC1091
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  package=qemu-user
  if [[ $codename == bookworm ]]; then
    # Backports come from the mirror this system already uses.
    mirror=$(apt-get indextargets --no-release-info --format '$(SITE) $(RELEASE)' | awk '$2 == "bookworm" { print $1; exit }')
    [[ -n $mirror ]] || fail "no apt source for bookworm to take bookworm-backports from."
    echo "deb $mirror bookworm-backports main" >/etc/apt/sources.list.d/tovix-bookworm-backports.list
    package=qemu-user/bookworm-backports
    changed+=("added bookworm-backports to apt's sources")
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$package" >/dev/null
  (($(qemuVersion $qemu) >= 8)) || fail "$qemu is qemu $(qemuVersion $qemu); Wine needs qemu 8 or later."
  changed+=("installed qemu-user $(dpkg-query -W -f='${Version}' qemu-user)")
fi
cat "$conf" >"$BINFMT_MISC/register"
changed+=("registered the binfmt_misc entry ${BINFMT_MISC}/qemu-i386 ($(sed 's/.*://' "$conf") flags) for the whole machine until it restarts")
runs_i386 || fail "the emulator is registered, but a 32-bit program ($(readlink -f /lib/ld-linux.so.2)) still does not start."
echo "32-bit x86 programs now run here under qemu-i386 $(qemuVersion $qemu): $(
  IFS=';'
  echo "${changed[*]}" | sed 's/;/; /g'
)."
