#!/usr/bin/env bash
# Fails on an include against the direction of the layers (base <- platform
# <- core <- ui <- app) and on an operating system's header outside the
# platform layer. The build refuses most of these by itself; this names them
# all, also the ones reached by a relative path.
# Usage: include_direction_test.sh <source folder>
set -u
src=${1:?source folder}
[ -d "$src/core" ] || { echo "no sources at $src"; exit 2; }

os_headers='<((unistd|fcntl|pwd|grp|dirent|poll|dlfcn|spawn|termios|windows|winsock2|shlobj|shellapi)\.h|(sys|linux|X11|xcb)/)'
# folder;what its files must not include;why
rules=(
  'base;"([^"]*/)?(core|platform|ui)/;base is below every other layer'
  'platform;"([^"]*/)?(core|ui)/;platform includes nothing of core but base'
  'core;"([^"]*/)?(ui|platform/qt)/|<Q;core is plain C++, without Qt'
  'core;"[^"]*_(linux|win32)\.h";core uses the OS-neutral platform headers only'
  'ui;"[^"]*_(linux|win32)\.h";the window uses the OS-neutral platform headers only'
  'ui;"platform/[^/"]+"|"core/BackupEngine\.h";the window reaches files and the engine through core'"'"'s state only'
)
for layer in base core ui app; do
  rules+=("$layer;$os_headers;only platform includes the system's own headers")
done

failed=0
for rule in "${rules[@]}"; do
  IFS=';' read -r folder forbidden why <<<"$rule"
  if hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*($forbidden)" "$src/$folder"); then
    printf '%s\n%s\n\n' "$why:" "$hits"
    failed=1
  fi
done
exit $failed
