#!/usr/bin/env bash
# Configures and builds into build/ (or build-asan/ with --sanitize).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build"
opts=()
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
