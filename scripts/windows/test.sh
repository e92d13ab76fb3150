#!/usr/bin/env bash
# Cross-builds for Windows and runs the tests under Wine on a private X
# display, in a Wine prefix of their own that is removed at the end, as is
# the display. Prints how long each step took.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/windows/wine_lab.sh
. "$here/wine_lab.sh"
bash "$here/setup.sh"

step() { # name, command...
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "test.sh: $name took $((SECONDS - start)) s" >&2
}

start=$SECONDS
dir=$(bash "$here/build.sh" | tail -n 1)
echo "test.sh: build took $((SECONDS - start)) s" >&2
# The tests of the Qt services load Qt's DLLs, the MinGW runtime they were
# built with and the platform plugin from where they lie (Wine's Z: is /).
qt=$(bash "$here/qt.sh" | tail -n 1)
export WINEPATH="Z:$qt/bin;Z:/usr/lib/gcc/x86_64-w64-mingw32/12-posix;Z:/usr/x86_64-w64-mingw32/lib"
export QT_PLUGIN_PATH="Z:$qt/plugins"
lab_init wine
lab_xvfb
step "making the Wine prefix" lab_prefix
cd "$dir"
step "tests under Wine" ctest --output-on-failure -j 2 --timeout 300
