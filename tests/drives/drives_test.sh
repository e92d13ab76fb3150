#!/usr/bin/env bash
# The same user's steps (drive_scenario) on each kind of drive people back up
# to, each a real mount made here. Root mounts them for everyone without any
# uid mapping, as a desktop mounts a stick or a share; the steps run as an
# unprivileged user, who therefore owns nothing that the drive reports.
# Usage: drives_test.sh DRIVE_SCENARIO_BINARY
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
drives_init drives

# One row per drive: its name, the commands it needs, the function that
# mounts it on the directory it is given.
ROWS=(
  "fat   fusefat,mkfs.vfat                   mount_fat"
  "ntfs  ntfs-3g,mkntfs                      mount_ntfs"
  "sshfs sshfs,ssh-keygen,sshd               mount_sshfs"
  "exfat mount.exfat-fuse,mkfs.exfat,losetup mount_exfat"
)
PATH=$PATH:/usr/sbin:/sbin

# image NAME MKFS...: a fresh 64 MiB image $WORK/NAME.img formatted by MKFS.
image() {
  truncate -s 64M "$WORK/$1.img" && "${@:2}" "$WORK/$1.img" >"$WORK/$1.mkfs.log" 2>&1
}

mount_fat() {
  image fat mkfs.vfat && start_fuse "$1" fusefat -f -o rw+,allow_other "$WORK/fat.img" "$1"
}

mount_ntfs() {
  image ntfs mkntfs -F -Q && start_fuse "$1" ntfs-3g -o no_detach,allow_other "$WORK/ntfs.img" "$1"
}

mount_exfat() {
  local loop
  image exfat mkfs.exfat || return 1
  if ! loop=$(losetup --find --show "$WORK/exfat.img" 2>&1); then
    ROW_SKIP="losetup does not work here ($loop)"
    return 77
  fi
  track_loop "$loop"
  start_fuse "$1" mount.exfat-fuse -d -o allow_other "$loop" "$1"
}

# A small NAS: a private sshd on 127.0.0.1 whose SFTP server lacks the
# posix-rename and hardlink extensions. Its account's uid shows through
# sshfs's default idmap=none; uid= stands in for a NAS account (1026) other
# than root, since this server runs as root. A second mount of the same
# share uses the same sshd.
mount_sshfs() {
  [ -n "${SSHD_PORT:-}" ] || start_sshd "$here/nas_sftp_server.pl" || return 1
  mkdir -p -m 755 "$WORK/share"
  start_fuse "$1" sshfs -f -F /dev/null \
    -o "allow_other,uid=1026,gid=100,IdentityFile=$WORK/ssh/client_key,Port=$SSHD_PORT,BatchMode=yes" \
    -o StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,LogLevel=ERROR \
    "root@127.0.0.1:$WORK/share" "$1"
}

# The share goes away while a large file is copied onto it: the sshfs
# process is killed once the copy's partial file shows on the server. The
# run must say the drive is gone; a later run into the same folder, over a
# new mount, cleans the dead run's partial once it is old.
share_gone() {
  local pid partial
  mount_sshfs "$WORK/gone" || { echo "no second SSHFS mount"; return 1; }
  pid=${DRIVES_PIDS[-1]}
  as_user timeout -k 5 60 "$scenario" "$WORK/gone" --gtest_filter=ShareGone.TheRunSaysTheDriveIsNoLongerReachable \
    >"$WORK/gone.out" 2>&1 &
  partial() { compgen -G "$WORK/share/bk/03_07_09/.tarvok-partial-*" >/dev/null; }
  wait_until 30 partial || { cat "$WORK/gone.out"; echo "no partial copy appeared"; return 1; }
  kill -KILL "$pid"
  wait $! || { cat "$WORK/gone.out"; return 1; }
  mount_sshfs "$WORK/back" || return 1
  as_user timeout -k 5 60 "$scenario" "$WORK/back" --gtest_filter=ShareGone.ADeadRunsPartialIsCleanedOnceOld \
    >"$WORK/back.out" 2>&1 || { cat "$WORK/back.out"; return 1; }
}

scenario="$WORK/drive_scenario"
cp "$1" "$scenario" && chmod 755 "$scenario" || fail "cannot copy $1"
results=()
ran=0
failed=0
for row in "${ROWS[@]}"; do
  read -r name needs mounter <<<"$row"
  missing=$(missing_tools ${needs//,/ } | tr '\n' ' ')
  if [ -n "$missing" ]; then
    results+=("$name: skipped, not installed: $missing(scripts/setup.sh installs them)")
    continue
  fi
  note "$name: mounting"
  ROW_SKIP=""
  "$mounter" "$WORK/$name"
  case $? in
    0) ;;
    77) results+=("$name: skipped, $ROW_SKIP"); continue ;;
    *) results+=("$name: FAILED to mount"); failed=1; continue ;;
  esac
  note "$name: the scenario as an unprivileged user"
  ran=$((ran + 1))
  as_user timeout -k 5 60 "$scenario" "$WORK/$name" --gtest_filter='Drive.*' >"$WORK/$name.out" 2>&1
  status=$?
  sed "s/^/[$name] /" "$WORK/$name.out"
  if [ "$status" -eq 0 ]; then
    results+=("$name: passed")
  else
    steps=$(grep -o '^\[  FAILED  \] Drive\.[A-Za-z]*' "$WORK/$name.out" | awk '!seen[$0]++' | sed 's/.*Drive\.//' | tr '\n' ' ')
    results+=("$name: FAILED (status $status): $steps")
    failed=1
  fi
done

if printf '%s\n' "${results[@]}" | grep -qx "sshfs: passed"; then
  note "sshfs: the share goes away mid-run"
  if share_gone; then results+=("sshfs gone mid-run: passed"); else results+=("sshfs gone mid-run: FAILED"); failed=1; fi
fi

echo "== drives"
printf '%s\n' "${results[@]}"
[ "$failed" -eq 0 ] || exit 1
[ "$ran" -gt 0 ] || skip "no drive could be mounted here"
