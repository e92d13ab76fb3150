#!/usr/bin/env bash
# CI of the Windows build: Qt for MinGW (qt.sh says when it has to build it
# from source, about 30 minutes, for want of a cache or the prebuilt
# archive), the cross-build, the unit tests under Wine, the portable folder
# and the installer, then the smoke test of both under Wine. Prints the time
# of each step and of the whole, then the folder's and the installer's
# paths, one a line.
set -euo pipefail
# A failing step ends the script also inside $(...)
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")" && pwd)
start=$SECONDS

step() { # name, command...
  local name=$1 began=$SECONDS
  shift
  echo "ci.sh: $name" >&2
  "$@"
  echo "ci.sh: $name took $((SECONDS - began)) s" >&2
}

export TARVOK_WERROR=ON
step "Qt for Windows" bash "$here/qt.sh" >/dev/null
step "build" bash "$here/build.sh" >/dev/null
step "unit tests under Wine" bash "$here/test.sh"
made=$(step "deploy folder and installer" bash "$here/package.sh")
folder=$(sed -n 1p <<<"$made")
setup=$(sed -n 2p <<<"$made")
step "smoke test under Wine" bash "$here/smoke_test.sh" "$folder" "$setup" "$(dirname "$setup")/smoke-test"
echo "ci.sh: all passed in $((SECONDS - start)) s; the portable folder and the installer:" >&2
echo "$folder"
echo "$setup"
