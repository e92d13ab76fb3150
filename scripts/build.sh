#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize).
# TARVOK_WERROR=ON in the environment makes every warning an error (CI).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build"
opts=(-DCMAKE_COMPILE_WARNING_AS_ERROR="${TARVOK_WERROR:-OFF}")
if [ "${1:-}" = "--sanitize" ]; then
  dir="$root/build-asan"
  opts+=(-DTARVOK_SANITIZE=ON)
fi
# A compiler cache, where one is installed, makes rebuilds of other checkouts quick.
if command -v ccache >/dev/null 2>&1; then
  opts+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${opts[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
