#!/usr/bin/env bash
# Builds the installer Tarvok-<version>-setup.exe from a folder made by
# deploy.sh (installer.nsi) into OUT_DIR and prints its path.
# Usage: installer.sh DEPLOY_FOLDER OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
[ $# -eq 2 ] || { echo "usage: installer.sh DEPLOY_FOLDER OUT_DIR" >&2; exit 2; }
src=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
[ -f "$src/Tarvok.exe" ] || { echo "installer.sh: no Tarvok.exe in $src" >&2; exit 1; }
version=$(sed -n 's/^project(Tarvok VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "installer.sh: no version in CMakeLists.txt" >&2; exit 1; }
setup="$out/Tarvok-$version-setup.exe"

# The installer installs, and the uninstaller removes, exactly the files of
# the folder: one list for both.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=$(cd "$src" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
dirs=$(cd "$src" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r)
if grep -q '[$"`]' <<<"$files"; then
  echo "installer.sh: a file name in $src holds a character NSIS would read as its own" >&2
  exit 1
fi
win() { echo "${1//\//\\}"; }
{
  echo '!macro InstallFiles'
  last=""
  while IFS= read -r f; do
    dir=$(dirname "/$f")
    [ "$dir" = "$last" ] || echo "  SetOutPath \"\$INSTDIR$(win "${dir%/}")\""
    last=$dir
    echo "  File \"$src/$f\""
  done <<<"$files"
  echo '!macroend'
  echo '!macro RemoveFiles'
  while IFS= read -r f; do
    echo "  Delete \"\$INSTDIR\\$(win "$f")\""
  done <<<"$files"
  # Deepest first; a folder someone added files to stays.
  while IFS= read -r d; do
    [ -z "$d" ] || echo "  RMDir \"\$INSTDIR\\$(win "$d")\""
  done <<<"$dirs"
  echo '!macroend'
} >"$work/files.nsh"

size_kb=$(du -sk "$src" | cut -f 1)
makensis -V2 -DVERSION="$version" -DOUTFILE="$setup" -DFILES="$work/files.nsh" -DSIZE_KB="$size_kb" \
  "$here/installer.nsi" >&2
echo "installer.sh: $(du -h "$setup" | cut -f 1) $setup" >&2
echo "$setup"
