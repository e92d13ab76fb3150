#!/usr/bin/env bash
# A FUSE file system that stops answering (a bindfs process stopped with
# SIGSTOP), mounted somewhere away from the directory the user works in, must
# not keep the select-directory dialog from opening and closing at once. The
# mount lives in a private mount namespace, so nothing else on the machine
# sees it.
# Usage: stalled_mount_test.sh DIALOG_OPEN_TIME_BINARY
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${TARVOK_PRIVATE_MOUNTS:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to make the mount"; exit 77; }
  command -v unshare >/dev/null && unshare -m true 2>/dev/null ||
    { echo "SKIP: no private mount namespace (unshare -m) here"; exit 77; }
  TARVOK_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
. "$here/lib.sh"
drives_init stalled
[ -z "$(missing_tools bindfs)" ] || skip "bindfs is not installed (scripts/setup.sh installs it)"

mkdir -p "$WORK/home/work" "$WORK/net/data" "$WORK/net/share"
# Mounted by root without allow_other: only root may use it, so the dialog
# runs as root too (anyone else would be turned away before it waits).
start_fuse "$WORK/net/share" bindfs -f "$WORK/net/data" "$WORK/net/share" || fail "bindfs did not mount"
bindfs_pid=${DRIVES_PIDS[-1]}
kill -STOP "$bindfs_pid"
stopped() { [ "$(awk '{print $3}' "/proc/$1/stat")" = T ]; }
wait_until 5 stopped "$bindfs_pid" || fail "bindfs did not stop"
# Else the test would prove nothing.
timeout -k 5 2 stat "$WORK/net/share" >/dev/null 2>&1
[ $? -eq 124 ] || fail "the stopped bindfs mount still answers"

mkdir -m 700 "$WORK/run"
XDG_RUNTIME_DIR="$WORK/run" timeout -k 5 30 "$1" "$WORK/home/work"
case $? in
  0) ;;
  124 | 137) fail "the select-directory dialog was still not open and closed twice after 30 s" ;;
  *) fail "the select-directory dialog took a second or more to open or to close" ;;
esac
