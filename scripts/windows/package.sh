#!/usr/bin/env bash
# Builds the Windows program (build.sh) and packages it: the portable folder
# build-win/deploy/Tarvok (deploy.sh) and the installer
# build-win/Tarvok-<version>-setup.exe (installer.sh). Prints the time of
# each step, then the two paths, one a line. TARVOK_WIN_EXE packages another
# exe instead of build-win/src/app/Tarvok.exe.
set -euo pipefail
# A failing step ends the script also inside $(...)
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")" && pwd)

step() { # name, command...: its output, then how long it took
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "package.sh: $name took $((SECONDS - start)) s" >&2
}

step "Qt for Windows" bash "$here/qt.sh" >/dev/null
dir=$(step build bash "$here/build.sh" | tail -n 1)
exe=${TARVOK_WIN_EXE:-$dir/src/app/Tarvok.exe}
[ -f "$exe" ] || { echo "package.sh: the build made no $exe" >&2; exit 1; }
folder=$(step "the deploy folder" bash "$here/deploy.sh" "$exe" "$dir/deploy/Tarvok" | tail -n 1)
setup=$(step "the installer" bash "$here/installer.sh" "$folder" "$dir" | tail -n 1)
echo "package.sh: portable folder $folder ($(du -sh "$folder" | cut -f 1)), installer $setup ($(du -h "$setup" | cut -f 1))" >&2
echo "$folder"
echo "$setup"
