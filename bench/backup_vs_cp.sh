#!/usr/bin/env bash
# Backs up 5,000 files of 4 KiB and one large file through BackUpFileList and
# copies the same files with cp, side by side, and prints the median ratios
# ours/cp. Then one small file backed up while another program writes, on a
# disk, against the same on a quiet disk. Then the same onto a network share (SSHFS to a private sshd on
# 127.0.0.1, made and undone here; needs root): 2,000 files of 4 KiB and one
# of 64 MiB. Then times the main window's browser: ShowBkUpFolders over 2,000
# snapshot folders and opening a snapshot of 20,000 files, each beside ls of
# the same directory.
# Usage: bench/backup_vs_cp.sh [BUILD_DIR] [RUNS] [BIG_MIB]
# BENCH_DIR picks the file system to work in (default: /dev/shm).
set -euo pipefail
build=${1:-build}
runs=${2:-5}
big_mib=${3:-1024}
small_count=5000
bin="$build/bench/backup_bench"
browser="$build/bench/browser_bench"
for b in "$bin" "$browser"; do
  [ -x "$b" ] || { echo "build first: $b is missing" >&2; exit 1; }
done
work=$(mktemp -d "${BENCH_DIR:-/dev/shm}/tarvok-bench.XXXXXX" 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/small" "$work/big"
for ((i = 0; i < small_count; i++)); do
  head -c 4096 /dev/urandom > "$work/small/file$i.dat"
done
head -c $((big_mib * 1024 * 1024)) /dev/urandom > "$work/big/large.dat"
find "$work/small" -type f > "$work/small.list"
echo "$work/big/large.dat" > "$work/big.list"

nanos() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $((e - s)); }
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
# cp gets the same job: make the snapshot folder, copy every file flat into it.
cp_run() { mkdir "$2/snap" && xargs -a "$1" -d '\n' cp -t "$2/snap"; }

# Prints "median_ratio median_ours_ms median_cp_ms" for one file list copied
# into the folder DEST (default: the work folder).
compare() {
  local list=$1 dest=${2:-$work} ours theirs ratios=() ours_all=() cp_all=()
  for ((r = 0; r < runs; r++)); do
    mkdir "$dest/ours" "$dest/cp"
    # Taking turns at going first keeps the page cache's mood out of the ratio.
    if ((r % 2 == 0)); then
      ours=$(nanos "$bin" "$list" "$dest/ours")
      theirs=$(nanos cp_run "$list" "$dest/cp")
    else
      theirs=$(nanos cp_run "$list" "$dest/cp")
      ours=$(nanos "$bin" "$list" "$dest/ours")
    fi
    [ "$(find "$dest/ours" -type f | wc -l)" = "$(find "$dest/cp" -type f | wc -l)" ] ||
      { echo "the two copies differ" >&2; exit 1; }
    rm -rf "$dest/ours" "$dest/cp"
    ratios+=("$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')")
    ours_all+=("$ours")
    cp_all+=("$theirs")
  done
  printf '%s %s %s\n' "$(printf '%s\n' "${ratios[@]}" | median)" \
    "$(printf '%s\n' "${ours_all[@]}" | median | awk '{print $1 / 1e6}')" \
    "$(printf '%s\n' "${cp_all[@]}" | median | awk '{print $1 / 1e6}')"
}

read -r small_ratio small_ours small_cp < <(compare "$work/small.list")
read -r big_ratio big_ours big_cp < <(compare "$work/big.list")
printf '%d files of 4 KiB, %d runs: median ratio ours/cp = %.3f (ours %.0f ms, cp %.0f ms)\n' \
  "$small_count" "$runs" "$small_ratio" "$small_ours" "$small_cp"
printf '1 file of %d MiB, %d runs: median ratio ours/cp = %.3f (ours %.0f ms, cp %.0f ms)\n' \
  "$big_mib" "$runs" "$big_ratio" "$big_ours" "$big_cp"

# One small file backed up while another program writes many files to the
# same drive, against the same backup on a quiet drive: the backup waits for
# its own file only. On a real disk (DISK_BENCH_DIR, default /var/tmp),
# since a memory drive has no writes to wait for.
disk=$(mktemp -d "${DISK_BENCH_DIR:-/var/tmp}/tarvok-bench.XXXXXX")
writer=
trap '[ -z "$writer" ] || kill "$writer" 2>/dev/null; rm -rf "$work" "$disk"' EXIT
echo "$work/small/file0.dat" > "$work/one.list"
one_backup() { local dest; dest=$(mktemp -d "$disk/run.XXXXXX"); nanos "$bin" "$work/one.list" "$dest"; }
sync
quiet=()
for ((r = 0; r < runs; r++)); do quiet+=("$(one_backup)"); done
mkdir "$disk/noise"
# Files of 1 MiB, as many as the drive's write-back lets wait.
(for ((i = 0; ; i++)); do head -c 1048576 /dev/zero > "$disk/noise/f$i"; done) 2>/dev/null &
writer=$!
until [ -e "$disk/noise/f200" ]; do sleep 0.1; done
busy=()
for ((r = 0; r < runs; r++)); do busy+=("$(one_backup)"); done
kill "$writer"
wait "$writer" 2>/dev/null || true
writer=
quiet=$(printf '%s\n' "${quiet[@]}" | median | awk '{print $1 / 1e6}')
busy=$(printf '%s\n' "${busy[@]}" | median | awk '{print $1 / 1e6}')
printf '1 file of 4 KiB while another program writes, %d runs: median %.1f ms (quiet drive %.1f ms, ratio %.2f)\n' \
  "$runs" "$busy" "$quiet" "$(awk -v a="$busy" -v b="$quiet" 'BEGIN {print a / b}')"

# A network share: its own mount and sshd, undone when the subshell ends.
head -n 2000 "$work/small.list" > "$work/share-small.list"
head -c $((64 * 1024 * 1024)) "$work/big/large.dat" > "$work/share-big.dat" 2>/dev/null ||
  head -c $((64 * 1024 * 1024)) /dev/urandom > "$work/share-big.dat"
echo "$work/share-big.dat" > "$work/share-big.list"
(
  . "$(dirname "$0")/../tests/drives/lib.sh"
  drives_init bench-sshfs >/dev/null
  mkdir -m 755 "$WORK/share"
  start_sshd /usr/lib/openssh/sftp-server && start_fuse "$WORK/mnt" sshfs -f -F /dev/null \
    -o "IdentityFile=$WORK/ssh/client_key,Port=$SSHD_PORT,BatchMode=yes" \
    -o StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,LogLevel=ERROR \
    "root@127.0.0.1:$WORK/share" "$WORK/mnt" || fail "no SSHFS mount"
  read -r ratio ours theirs < <(compare "$work/share-small.list" "$WORK/mnt")
  printf 'SSHFS, 2000 files of 4 KiB, %d runs: median ratio ours/cp = %.3f (ours %.0f ms, cp %.0f ms)\n' \
    "$runs" "$ratio" "$ours" "$theirs"
  read -r ratio ours theirs < <(compare "$work/share-big.list" "$WORK/mnt")
  printf 'SSHFS, 1 file of 64 MiB, %d runs: median ratio ours/cp = %.3f (ours %.0f ms, cp %.0f ms)\n' \
    "$runs" "$ratio" "$ours" "$theirs"
) || echo "SSHFS rows skipped (they need root, FUSE, sshfs and sshd)"

# The browser: 2,000 snapshot folders, one of them holding 20,000 files.
mkdir "$work/bk"
for ((i = 0; i < 2000; i++)); do
  printf '%s/bk/%02d_%02d_%02d\n' "$work" $((i % 12 + 1)) $((i / 12 % 28 + 1)) $((i / 336 % 24))
done | xargs -d '\n' mkdir
for ((i = 0; i < 20000; i++)); do echo "$work/bk/01_01_00/file$i.dat"; done | xargs -d '\n' touch
read -r folders listing files opening per_file _ < <(QT_QPA_PLATFORM=offscreen "$browser" "$work/bk" 01_01_00 "$runs" 2>/dev/null)
ls_listing=()
ls_opening=()
for ((r = 0; r < runs; r++)); do
  ls_listing+=("$(nanos ls "$work/bk")")
  ls_opening+=("$(nanos ls "$work/bk/01_01_00")")
done
ls_listing=$(printf '%s\n' "${ls_listing[@]}" | median | awk '{print $1 / 1e9}')
ls_opening=$(printf '%s\n' "${ls_opening[@]}" | median | awk '{print $1 / 1e9}')
printf 'ShowBkUpFolders, %d folders, %d runs: median %.4f s (ls %.4f s, ratio %.2f)\n' \
  "$folders" "$runs" "$listing" "$ls_listing" "$(awk -v a="$listing" -v b="$ls_listing" 'BEGIN {print a / b}')"
printf 'opening a snapshot of %d files, %d runs: median %.4f s (ls %.4f s, ratio %.2f), %d bytes held per file\n' \
  "$files" "$runs" "$opening" "$ls_opening" "$(awk -v a="$opening" -v b="$ls_opening" 'BEGIN {print a / b}')" "$per_file"
