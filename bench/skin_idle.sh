#!/usr/bin/env bash
# Idle cost of the shown, skinned window with the timely skin change on:
# runs the real program (offscreen) with the example skins for SECONDS
# seconds, after five seconds of start-up, and prints its CPU time as a share
# of one core; then the median time of one skin change with its repaint.
# Usage: bench/skin_idle.sh [BUILD_DIR] [SECONDS] [RUNS]
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
runs=${3:-50}
bin="$build/src/app/Tarvok"
[ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
[ -d "$build/src/app/Skin" ] || { echo "no example skins in $build/src/app/Skin" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; } # utime + stime

app="$work/app"
mkdir -p "$app/run"
chmod 700 "$app/run"
cp "$bin" "$app/Tarvok"
cp -r "$build/src/app/Skin" "$app/Skin"
# Random start skin, automatic backups neither on nor off (no question).
printf '%s\r\n' 1 0 2 "Reserve 1" "Reserve 2" "Reserve 3" >"$app/Tarvok.ini"
export XDG_RUNTIME_DIR="$app/run" QT_QPA_PLATFORM=offscreen
"$app/Tarvok" >/dev/null 2>&1 &
pid=$!
sleep 2
"$app/Tarvok" # a second start shows the window
sleep 3
ticks=$(cpu_ticks "$pid")
sleep "$seconds"
ticks=$(($(cpu_ticks "$pid") - ticks))
kill "$pid"
wait "$pid" 2>/dev/null || true
ms=$((ticks * 1000 / $(getconf CLK_TCK)))
awk -v ms="$ms" -v s="$seconds" 'BEGIN { printf "idle CPU over %ss with timely skin change on: %d ms = %.3f %% of one core\n", s, ms, ms / (s * 10) }'

"$build/bench/skin_bench" "$build/src/app/Skin" "$runs" 2>/dev/null
