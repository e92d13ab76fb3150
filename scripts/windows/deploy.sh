#!/usr/bin/env bash
# Makes a portable folder of a program built for Windows: the exe, the DLLs
# it needs (followed through their own imports), the Qt plugins, the example
# skins and the licence, all stripped. The folder runs as it is from anywhere
# writable; the program keeps its settings beside itself there.
# Usage: deploy.sh EXE OUT_FOLDER   (Qt from QT_MINGW_PREFIX, else qt.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
[ $# -eq 2 ] || { echo "usage: deploy.sh EXE OUT_FOLDER" >&2; exit 2; }
exe=$1
out=$2
[ -f "$exe" ] || { echo "deploy.sh: no program at $exe" >&2; exit 1; }
qt=${QT_MINGW_PREFIX:-$(bash "$here/qt.sh" | tail -n 1)}
gcc_dir=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
sysroot=/usr/x86_64-w64-mingw32
# Where the DLLs we ship come from, in this order.
search=("$(dirname "$exe")" "$qt/bin" "$gcc_dir" "$sysroot/lib")
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
# The skins are BMPs, which Qt reads itself; the About picture is a JPEG,
# the icons are ICO files. The style looks native on Vista and later.
plugins=(platforms/qwindows styles/qwindowsvistastyle imageformats/qjpeg imageformats/qico)

# Only an older deploy of this program is replaced: anything else in the
# way is the user's.
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ]; then
  [ -f "$out/$(basename "$exe")" ] || { echo "deploy.sh: $out is not empty" >&2; exit 1; }
  rm -rf "$out"
fi
mkdir -p "$out"

imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { print $3 }'; }

# Windows looks names up without regard to case.
find_in() { find "$1" -maxdepth 1 -iname "$2" -print -quit 2>/dev/null; }

resolve() {
  local dir found
  for dir in "${search[@]}"; do
    found=$(find_in "$dir" "$1")
    [ -n "$found" ] && { echo "$found"; return; }
  done
  true
}

# A DLL Windows itself provides: MinGW links against it through an import
# library, or Wine carries its own, or it is an API set.
system_dll() {
  local base=${1,,}
  base=${base%.dll}
  [[ $base == api-ms-win-* || $base == ext-ms-* ]] || [ -f "$sysroot/lib/lib$base.a" ] ||
    [ -n "$(find_in "$wine_dlls" "$1")" ]
}

declare -A shipped=()
queue=()
ship() { # source, path inside the folder
  mkdir -p "$(dirname "$out/$2")"
  cp "$1" "$out/$2"
  chmod u+w "$out/$2"
  shipped[${2,,}]=1
  queue+=("$out/$2")
}

ship "$exe" "$(basename "$exe")"
for plugin in "${plugins[@]}"; do
  [ -f "$qt/plugins/$plugin.dll" ] || { echo "deploy.sh: Qt has no $plugin.dll in $qt/plugins" >&2; exit 1; }
  ship "$qt/plugins/$plugin.dll" "$plugin.dll"
done
# Every binary's imports, those of the DLLs it brought too. Plugins load
# their DLLs from the exe's folder, so all DLLs go there.
while [ ${#queue[@]} -gt 0 ]; do
  binary=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(imports "$binary"); do
    [ -z "${shipped[${dll,,}]:-}" ] || continue
    found=$(resolve "$dll")
    if [ -n "$found" ]; then
      ship "$found" "$(basename "$found")"
    elif ! system_dll "$dll"; then
      echo "deploy.sh: $(basename "$binary") needs $dll, found in none of: ${search[*]}" >&2
      exit 1
    fi
  done
done

find "$out" -iname '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
x86_64-w64-mingw32-strip --strip-all "$out/$(basename "$exe")"

# A portable copy reads its skins from Skin beside it; an installed one
# copies them from there into the user's folder on its first start.
mkdir "$out/Skin"
cp "$root"/resources/skin/examples/*.bmp "$out/Skin/"
cp "$root/LICENSE" "$out/LICENSE.txt"
chmod -R u+w "$out"

echo "deploy.sh: $(find "$out" -type f | wc -l) files, $(du -sh "$out" | cut -f 1) in $out" >&2
echo "$out"
