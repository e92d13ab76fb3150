#!/usr/bin/env bash
# Cross-builds for Windows into build-win/ (MinGW-w64, Ninja) and prints
# that folder. TARVOK_WERROR=ON makes every warning an error, as on Linux.
# The program (build-win/src/app/Tarvok.exe) with Qt from qt.sh, and the
# tests that need no QtTest, with GoogleTest from gtest.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
dir="$root/build-win"
GTEST_MINGW_PREFIX=$(bash "$here/gtest.sh")
QT_MINGW_PREFIX=$(bash "$here/qt.sh" | tail -n 1)
export GTEST_MINGW_PREFIX QT_MINGW_PREFIX
# Tests are listed when ctest runs them, under the Wine of that run, not
# while building.
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR="${TARVOK_WERROR:-OFF}" \
  -DTARVOK_BUILD_UI=ON -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$dir" --parallel 2 >&2
echo "$dir"
