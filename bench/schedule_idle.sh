#!/usr/bin/env bash
# Idle cost of the once-a-second tick: runs the real program, hidden, for
# SECONDS seconds (after five seconds of start-up) with automatic backups off, then on with PROJECTS projects of
# which none is due, and prints the CPU time of each run and the ratio on/off.
# Usage: bench/schedule_idle.sh [BUILD_DIR] [SECONDS] [PROJECTS]
set -euo pipefail
build=${1:-build}
seconds=${2:-30}
projects=${3:-100}
bin="$build/src/app/Tarvok"
[ -x "$bin" ] || { echo "build first: $bin is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Daily at the hour opposite to now, so that nothing falls due during the run.
hour=$(( ($(date +%-H) + 12) % 24 ))

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; } # utime + stime

# Prints the CPU milliseconds a hidden program used over `seconds`, counted
# from five seconds after its start so that start-up is left out.
idle_run() {
  local timer=$1 count=$2 app="$work/app$1" i pid ticks
  mkdir -p "$app/run" "$app/bk"
  chmod 700 "$app/run"
  cp "$bin" "$app/Tarvok"
  : >"$app/bk/Project.ini"
  {
    printf '%s\r\n' 0 0 "$timer" "Reserve 1" "Reserve 2" "Reserve 3"
    for ((i = 0; i < count; i++)); do
      printf '%s\r\n' "Project $i" "$app/bk" 1 1 0 "$hour"
    done
  } >"$app/Tarvok.ini"
  XDG_RUNTIME_DIR="$app/run" QT_QPA_PLATFORM=offscreen "$app/Tarvok" >/dev/null 2>&1 &
  pid=$!
  sleep 5
  ticks=$(cpu_ticks "$pid")
  sleep "$seconds"
  ticks=$(($(cpu_ticks "$pid") - ticks))
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $((ticks * 1000 / $(getconf CLK_TCK)))
}

off=$(idle_run 2 1)
on=$(idle_run 1 "$projects")
echo "idle CPU over ${seconds}s: automatic backups off ${off} ms, on with $projects projects ${on} ms"
awk -v a="$on" -v b="$off" 'BEGIN { if (b > 0) printf "ratio on/off: %.2f\n", a / b; else print "ratio on/off: n/a (off used 0 ms)" }'
