#!/usr/bin/env bash
# The real program under Xvfb with a tray host: time from process start to
# the event loop running (median of RUNS starts), peak RSS once the window has
# been shown, and CPU used over IDLE_SECONDS with the window hidden. Each is
# printed with its aim and the ratio to it.
# Usage: bench/shell_startup.sh [BUILD_DIR] [RUNS] [IDLE_SECONDS]
set -u -o pipefail
build=${1:-build}
runs=${2:-10}
idle=${3:-60}
binary="$build/src/app/Tarvok"
[ -x "$binary" ] || { echo "build first: $binary is missing" >&2; exit 1; }
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_init bench
start_xvfb
start_trayer
private_runtime_dir

# The event loop runs once Qt's dispatcher first blocks for events: a
# preloaded probe stamps the wall clock at the first blocking iteration.
cat >"$WORK/probe.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
typedef int gboolean;
typedef struct _GMainContext GMainContext;
gboolean g_main_context_iteration(GMainContext* context, gboolean mayBlock)
{
    static gboolean (*real)(GMainContext*, gboolean);
    static int stamped;
    if (!real)
        real = (gboolean (*)(GMainContext*, gboolean))dlsym(RTLD_NEXT, "g_main_context_iteration");
    const char* path = getenv("PROBE_STAMP_FILE");
    if (mayBlock && !stamped && path) {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        FILE* file = fopen(path, "w");
        if (file) {
            fprintf(file, "%lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
            fclose(file);
        }
        stamped = 1;
    }
    return real(context, mayBlock);
}
C
cc -shared -fPIC -O2 -o "$WORK/probe.so" "$WORK/probe.c" -ldl || { echo "cannot build the probe" >&2; exit 1; }

# A fresh program folder whose settings ask no start-up question.
fresh_copy() {
  rm -rf "$WORK/app"
  install_copy "$binary" "$WORK/app" >/dev/null
  printf '1\r\n-1\r\n1\r\nReserve 1\r\nReserve 2\r\nReserve 3\r\n' >"$WORK/app/Tarvok.ini"
}

stop() { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; true; }

startups=()
for ((i = 0; i < runs; i++)); do
  fresh_copy
  rm -f "$WORK/stamp"
  started=$EPOCHREALTIME
  PROBE_STAMP_FILE="$WORK/stamp" LD_PRELOAD="$WORK/probe.so" "$WORK/app/Tarvok" >/dev/null 2>&1 &
  pid=$!
  wait_until 20 cat "$WORK/stamp" 2>/dev/null >/dev/null || { echo "the event loop never ran" >&2; exit 1; }
  startups+=("$(awk -v a="$started" -v b="$(cat "$WORK/stamp")" 'BEGIN {printf "%.1f", (b - a) * 1000}')")
  stop "$pid"
done
startup=$(printf '%s\n' "${startups[@]}" | sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}')

# CPU time of every thread, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{sum += $1} END {printf "%d", sum}'; }

fresh_copy
"$WORK/app/Tarvok" >/dev/null 2>&1 &
pid=$!
track "$pid"
wait_until 20 tray_icon >/dev/null || { echo "no tray icon" >&2; exit 1; }
sleep 3
before=$(cpu_ns "$pid")
sleep "$idle"
after=$(cpu_ns "$pid")
cpu=$(awk -v a="$before" -v b="$after" -v s="$idle" 'BEGIN {printf "%.4f", (b - a) / (s * 1e9) * 100}')

"$WORK/app/Tarvok" >/dev/null 2>&1
wait_until 20 main_window >/dev/null || { echo "the window did not show" >&2; exit 1; }
sleep 1
rss_kib=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
rss=$(awk -v k="$rss_kib" 'BEGIN {printf "%.1f", k / 1024}')
stop "$pid"

ratio() { awk -v v="$1" -v aim="$2" 'BEGIN {printf "%.2f", v / aim}'; }
printf 'start-up to event loop: median %s ms of %d starts (aim 100 ms; ratio %s)\n' "$startup" "$runs" "$(ratio "$startup" 100)"
printf 'peak RSS after showing the window: %s MiB (aim 40 MiB; ratio %s)\n' "$rss" "$(ratio "$rss" 40)"
printf 'CPU over %d s idle, window hidden: %s %% (aim 0.1 %%; ratio %s)\n' "$idle" "$cpu" "$(ratio "$cpu" 0.1)"
