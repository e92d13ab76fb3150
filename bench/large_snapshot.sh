#!/usr/bin/env bash
# Opens a snapshot folder of COUNT files (default 1,000,000) in the real
# window's browser and prints the time it takes and the memory the open
# snapshot holds per file, beside ls of the same folder.
# Usage: bench/large_snapshot.sh [BUILD_DIR] [COUNT]
# BENCH_DIR picks the file system to work in (default: /dev/shm).
set -euo pipefail
build=${1:-build}
count=${2:-1000000}
browser="$build/bench/browser_bench"
[ -x "$browser" ] || { echo "build first: $browser is missing" >&2; exit 1; }
work=$(mktemp -d "${BENCH_DIR:-/dev/shm}/tarvok-bench.XXXXXX" 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bk/01_01_00"
(cd "$work/bk/01_01_00" && seq -f 'backed-up-file-%07g.dat' 1 "$count" | xargs touch)
start=$(date +%s%N)
ls "$work/bk/01_01_00" >/dev/null
ls_seconds=$(awk -v n=$(($(date +%s%N) - start)) 'BEGIN {print n / 1e9}')
read -r _ _ files opening per_file per_line < <(QT_QPA_PLATFORM=offscreen "$browser" "$work/bk" 01_01_00 1 2>/dev/null)
printf 'opening a snapshot of %d files: %.2f s (ls %.2f s); held per file: %d bytes, of which the list box %d\n' \
  "$files" "$opening" "$ls_seconds" "$per_file" "$per_line"
