#!/usr/bin/env bash
# Mounts (or unmounts) a 32 KiB tmpfs at $FORUM_TEST_RUN_DIR/small-disk, so
# that a test can fill it and make a save fail part-way. Mounting needs
# root; without it the folder stays an ordinary one and the test skips.
# Usage: small-disk.sh mount|unmount
set -uo pipefail

[ -n "${FORUM_TEST_RUN_DIR:-}" ] || { echo "small-disk: run under tools/test-env.sh" >&2; exit 1; }
disk="$FORUM_TEST_RUN_DIR/small-disk"

case "${1:-}" in
mount)
    mkdir -p "$disk"
    if [ "$(id -u)" -ne 0 ]; then
        echo "small-disk: not root, nothing mounted; the small-disk test will skip"
        exit 0
    fi
    mountpoint -q "$disk" || mount -t tmpfs -o size=32k tmpfs "$disk"
    ;;
unmount)
    if mountpoint -q "$disk"; then
        umount "$disk" || umount -l "$disk"
    fi
    rmdir "$disk" 2>/dev/null
    exit 0
    ;;
*)
    echo "usage: small-disk.sh mount|unmount" >&2
    exit 2
    ;;
esac
