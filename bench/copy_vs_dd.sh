#!/usr/bin/env bash
# Times CopyFileByBlock against dd bs=1M (the same read/write pattern) on a
# file in the page cache and prints the median ratio ours/dd, then the peak
# RSS of our copy for a 1 MiB and a large file.
# Usage: bench/copy_vs_dd.sh [BUILD_DIR] [SIZE_MIB] [RUNS]
set -euo pipefail
build=${1:-build}
size_mib=${2:-1024}
runs=${3:-5}
bin="$build/bench/copy_bench"
[ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
work=$(mktemp -d /dev/shm/tarvok-bench.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c $((size_mib * 1024 * 1024)) /dev/urandom > "$work/big"
head -c $((1024 * 1024)) /dev/urandom > "$work/small"
cat "$work/big" > /dev/null

seconds() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $((e - s)); }
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# Each copy starts with no output file left over, and the two take turns
# going first, so neither profits from pages the other just freed.
ours_copy() { local t; t=$(seconds "$bin" "$work/big" "$work/out"); rm -f "$work/out"; echo "$t"; }
dd_copy() { local t; t=$(seconds dd if="$work/big" of="$work/out" bs=1M); rm -f "$work/out"; echo "$t"; }
ratios=()
for ((i = 0; i < runs; i++)); do
  if ((i % 2 == 0)); then
    ours=$(ours_copy); theirs=$(dd_copy)
  else
    theirs=$(dd_copy); ours=$(ours_copy)
  fi
  ratios+=("$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')")
done
ratio=$(printf '%s\n' "${ratios[@]}" | median)

rss() { /usr/bin/time -f '%M' "$bin" "$1" "$work/rss.out" 2>&1 >/dev/null | tail -n 1; }
rss_small=$(rss "$work/small")
rss_big=$(rss "$work/big")

printf 'copy of %d MiB, %d runs: median ratio ours/dd = %.3f\n' "$size_mib" "$runs" "$ratio"
printf 'peak RSS: 1 MiB file %s KiB, %d MiB file %s KiB\n' "$rss_small" "$size_mib" "$rss_big"
