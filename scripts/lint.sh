#!/usr/bin/env bash
# The style checks CI runs after the tests: every C++ file as .clang-format
# lays it out, and the program's sources clean under .clang-tidy, read with
# the compile commands of the build folder given (build/ by default), the
# Windows sources with those of the Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
bash "$root/scripts/setup.sh"
cd "$root"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror
git ls-files -z 'src/*.cpp' | grep -zv '_win32\.cpp$' |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy-14 -p "$build" --quiet 2>/dev/null
# The Windows sources with the compile commands of the Windows build folder
# given second (build-win/ by default; configured here when it has none), as
# clang reads them for MinGW-w64: its target, and the C++ headers of the
# MinGW compiler, which clang does not find by itself.
winbuild=${2:-$root/build-win}
if [ ! -f "$winbuild/compile_commands.json" ]; then
  bash "$root/scripts/windows/setup.sh"
  QT_MINGW_PREFIX=$(bash "$root/scripts/windows/qt.sh" | tail -n 1)
  GTEST_MINGW_PREFIX=$(bash "$root/scripts/windows/gtest.sh")
  export QT_MINGW_PREFIX GTEST_MINGW_PREFIX
  cmake -S "$root" -B "$winbuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/toolchain.cmake" \
    -DTARVOK_BUILD_UI=ON >/dev/null
fi
mingw_cxx=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
git ls-files -z 'src/*_win32.cpp' |
  xargs -0 -P "$(nproc)" -n 4 clang-tidy-14 -p "$winbuild" --quiet --extra-arg=--target=x86_64-w64-mingw32 \
    --extra-arg=-isystem"$mingw_cxx" --extra-arg=-isystem"$mingw_cxx/x86_64-w64-mingw32" 2>/dev/null
echo "lint.sh: format and clang-tidy clean, Linux and Windows sources"
