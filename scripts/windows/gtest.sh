#!/usr/bin/env bash
# Builds GoogleTest from Debian's sources (/usr/src/googletest) for
# x86_64-w64-mingw32 into a cache folder and prints it: TARVOK_GTEST_MINGW_DIR,
# by default ~/.cache/tarvok/gtest-mingw-<version>. Nothing is done when the
# cache is whole.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/setup.sh" >&2
version=$(dpkg-query -W -f='${Version}' googletest | sed 's/[^0-9.].*//')
cache=${TARVOK_GTEST_MINGW_DIR:-$HOME/.cache/tarvok/gtest-mingw-$version}
if [ -f "$cache/.tarvok-complete" ]; then
  echo "$cache"
  exit 0
fi
mkdir -p "$(dirname "$cache")"
rm -rf "$cache"
work=$(mktemp -d "$(dirname "$cache")/.gtest-work.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "gtest.sh: building GoogleTest $version for Windows" >&2
cmake -S /usr/src/googletest -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$cache" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >&2
cmake --build "$work" --parallel 2 >&2
cmake --install "$work" >&2
touch "$cache/.tarvok-complete"
echo "$cache"
