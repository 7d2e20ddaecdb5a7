#!/usr/bin/env bash
# make in-debian RELEASE=bookworm|trixie (or 12|13) TARGET=test: runs one make
# target in a clean Debian system of that release on this machine. The system
# is made once with debootstrap under /var/tmp/tovix-debian/RELEASE and kept
# between runs (the packages that make deps installs there stay). Each run
# gets a fresh clone of this working tree inside: HEAD, the uncommitted
# changes and the new files that git does not ignore, as CI would see them
# once committed. The run has
# mounts and processes of its own (a private mount and process namespace):
# every mount is undone at the end, on failure or interrupt too, and nothing
# started inside outlives it. What make dist leaves in dist/ inside is copied
# to dist/ here. With VERIFY=FOLDER (a release to check), that folder is
# copied in and TARGET runs with DIST pointing at the copy. CI and
# TOVIX_DIST_HOST are handed in; no other variable of this shell is.
# Usage: in-debian.sh RELEASE [TARGET]
set -euo pipefail
cd "$(dirname "$0")/../.."

case ${1:-} in
  12 | bookworm) release=bookworm ;;
  13 | trixie) release=trixie ;;
  *) echo "Usage: make in-debian RELEASE=bookworm|trixie [TARGET=test]" >&2 && exit 2 ;;
esac
target=${2:-test}
mirror=${TOVIX_DEBIAN_MIRROR:-http://deb.debian.org/debian}
systems=${TOVIX_DEBIAN_DIR:-/var/tmp/tovix-debian}
root=$systems/$release

if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null && sudo -n true 2>/dev/null &&
    exec sudo --preserve-env=CI,VERIFY,TOVIX_DIST_HOST,TOVIX_DEBIAN_MIRROR,TOVIX_DEBIAN_DIR bash "$PWD/tools/run/in-debian.sh" "$@"
  echo "A Debian system in a folder needs root (debootstrap, mount, chroot). Run as root:" >&2
  echo "  make in-debian RELEASE=$release TARGET=$target" >&2
  exit 1
fi
bash tools/run/deps.sh debootstrap
# One run at a time in each system: they would share its clone.
mkdir -p "$systems"
exec 9>"$systems/$release.lock"
flock -n 9 || { echo "Another make in-debian RELEASE=$release is running; try again when it ends." >&2 && exit 1; }

# The system, made once: a minimal Debian with its updates and security
# sources, and what a fresh clone needs before make deps. It is made beside
# its place and moved there when whole, so an interrupted run leaves none half made.
if [[ ! -x $root/usr/bin/make ]]; then
  echo "Making a Debian $release system in $root (once)..."
  rm -rf "$root.partial"
  debootstrap --variant=minbase --include=ca-certificates,git,make "$release" "$root.partial" "$mirror" \
    >"$systems/$release-debootstrap.log" 2>&1 ||
    { tail -n 20 "$systems/$release-debootstrap.log" >&2 && echo "debootstrap failed; see $systems/$release-debootstrap.log" >&2 && exit 1; }
  cat >"$root.partial/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
EOF
  rm -rf "$root"
  mv "$root.partial" "$root"
fi

# A fresh clone of the working tree: the commit, then what is changed and not committed yet.
work=$root/var/tmp/tovix
rm -rf "$work"
mkdir -p "$work"
git clone -q --no-hardlinks "$PWD" "$work/src"
git diff --binary HEAD | (cd "$work/src" && git apply --allow-empty)
git ls-files -z --others --exclude-standard | xargs -0 -r cp --parents -t "$work/src"
if [[ -n ${VERIFY:-} ]]; then
  mkdir -p "$work/release"
  if [[ -d $VERIFY ]]; then cp -r "$VERIFY"/. "$work/release/"; else cp "$VERIFY" "$(dirname "$VERIFY")"/{SHA256SUMS,BUILDINFO} "$work/release/" 2>/dev/null || true; fi
  target="$target DIST=/var/tmp/tovix/release"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

# Inside a mount and process namespace of its own: the mounts go with it
# whatever happens, and so does every process started inside (the first
# process of a PID namespace takes the rest with it when it ends).
echo "Debian $release: make $target"
status=0
# In a user namespace, where sysfs may not be mounted anew and /dev only
# whole, both are bound with what is mounted below them.
# Mounts made inside reach no other namespace: every mount is made private,
# which fails only where / is no mount point (in a chroot, such as another
# Debian system of this script's), whose mounts are private already.
unshare --mount --propagation unchanged --pid --fork bash -euo pipefail -c '
  root=$1 target=$2
  mount --make-rprivate / 2>/dev/null || true
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys" 2>/dev/null || mount --rbind /sys "$root/sys"
  mount --bind /dev "$root/dev" 2>/dev/null || mount --rbind /dev "$root/dev"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount -t tmpfs tmpfs "$root/tmp"
  trap "umount -R \"$root/tmp\" \"$root/dev/shm\" \"$root/dev/pts\" \"$root/dev\" \"$root/sys\" \"$root/proc\" 2>/dev/null || true" EXIT
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" TOVIX_DIST_HOST="${TOVIX_DIST_HOST:-}" \
    bash -c "cd /var/tmp/tovix/src && make $target"
' in-debian "$root" "$target" || status=$?

if [[ $target == dist* && $status -eq 0 ]]; then
  rm -rf dist
  cp -r "$work/src/dist" dist
  echo "Copied dist/ from the Debian $release system."
fi
exit "$status"
