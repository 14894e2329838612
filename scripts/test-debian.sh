#!/bin/bash
# SPDX-License-Identifier: MIT
# scripts/test-debian.sh 12|13 [CTEST ARGS]: runs the whole test suite
# (scripts/test.sh) on Debian 12 "bookworm" or 13 "trixie", from any Debian
# machine where you are root: in a chroot made with debootstrap from the
# Debian mirror this machine's apt sources name, on a fresh clone of this
# checkout's committed HEAD. The chroot is kept in
# /var/cache/tavisk/RELEASE (or $TAVISK_CHROOT) and reused next time; delete
# that folder to start from scratch. Exits with the suite's status.
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE=$PWD
case "${1:-}" in
    12 | bookworm) RELEASE=bookworm ;;
    13 | trixie) RELEASE=trixie ;;
    *) echo "usage: $0 12|13 [ctest arguments]" >&2; exit 2 ;;
esac
shift
ROOT=${TAVISK_CHROOT:-/var/cache/tavisk/$RELEASE}

if [ "$(id -u)" -ne 0 ]; then
    echo "$0: making and entering a chroot needs root; run it as root (sudo $0)." >&2
    exit 1
fi
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

if [ ! -e "$ROOT/.tavisk-complete" ]; then
    # The first Debian archive (not the security one) that apt already uses.
    mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Label: Debian' | head -n 1)
    mirror=${mirror:-http://deb.debian.org/debian/}
    echo "Making a Debian $RELEASE chroot in $ROOT from $mirror"
    # Made aside and moved into place whole, so an interrupted run never
    # leaves a half-made chroot to be reused.
    rm -rf "$ROOT.new"
    mkdir -p "$(dirname "$ROOT")"
    debootstrap --variant=minbase "$RELEASE" "$ROOT.new" "$mirror" >"$ROOT.log" 2>&1 \
        || { tail -n 20 "$ROOT.log" >&2; echo "$0: debootstrap failed (log: $ROOT.log)" >&2; exit 1; }
    touch "$ROOT.new/.tavisk-complete"
    rm -rf "$ROOT"
    mv "$ROOT.new" "$ROOT"
fi

# Every mount is undone whatever happens, last made first; lazily, so a
# process the suite left behind cannot keep the host's /dev mounted inside.
MOUNTED=()
unmount_all() {
    local i
    for ((i = ${#MOUNTED[@]} - 1; i >= 0; i--)); do
        umount -l "${MOUNTED[i]}" 2>/dev/null || echo "$0: could not unmount ${MOUNTED[i]}" >&2
    done
}
trap unmount_all EXIT
mount_in() { # mount_in TARGET MOUNT-ARGS...
    local target=$ROOT$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    MOUNTED+=("$target")
}
mount_in /proc -t proc proc
mount_in /sys --rbind /sys
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm -t tmpfs -o mode=1777 tmpfs
mount_in /tmp -t tmpfs -o mode=1777 tmpfs
mount_in /run -t tmpfs -o mode=755 tmpfs
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"

rm -rf "$ROOT/root/tavisk"
git clone -q "$SOURCE" "$ROOT/root/tavisk"

set +e
chroot "$ROOT" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 CI="${CI:-}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c 'cd /root/tavisk && scripts/test.sh "$@"' test-debian "$@"
status=$?
set -e
echo "Debian $RELEASE: the suite exited with status $status"
exit "$status"
