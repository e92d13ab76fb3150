#!/usr/bin/env bash
# The style checks CI runs after the tests: every C++ file as .clang-format
# lays it out, and the program's sources clean under .clang-tidy, read with
# the compile commands of the build folder given (build/ by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bash "$root/scripts/setup.sh"
cd "$root"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror
# The Windows sources are read by the Windows build's own compiler.
git ls-files -z 'src/*.cpp' | grep -zv '_win32\.cpp$' |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet 2>/dev/null
echo "lint.sh: format and clang-tidy clean"
