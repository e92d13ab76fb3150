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
lab_init wine
lab_xvfb
step "making the Wine prefix" lab_prefix
cd "$dir"
step "tests under Wine" ctest --output-on-failure -j 2 --timeout 300
