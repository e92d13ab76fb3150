#!/usr/bin/env bash
# Cross-builds for Windows and runs the tests under Wine on a private X
# display, in a Wine prefix of their own that is removed at the end, as is
# the display. Prints how long each step took.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
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
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvok-wine.XXXXXX")
# Wine's server keeps its socket under TMPDIR: in here too, so it goes with the rest.
mkdir "$work/tmp"
export WINEPREFIX="$work/prefix" TMPDIR="$work/tmp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=""
finish() {
  # Only this prefix's server and the display started here are ended.
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# Xvfb names the display it found free once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "test.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "test.sh: Xvfb named no display within 10 s" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

# One server for the whole run, from the start: each program starts warm.
mkdir "$WINEPREFIX"
wineserver -p
step "making the Wine prefix" wineboot -i >/dev/null
cd "$dir"
step "tests under Wine" ctest --output-on-failure -j 2 --timeout 300
