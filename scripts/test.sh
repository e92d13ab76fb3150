#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (unit, UI and end to
# end). With --sanitize everything is built with AddressSanitizer and UBSan,
# and leaks are reported, except what the desktop libraries Qt loads keep until
# the process ends (tests/lsan.supp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
dir=$(bash "$root/scripts/build.sh" "$@" | tail -n 1)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
cd "$dir"
ctest --output-on-failure -j "$(nproc)" --timeout 300
