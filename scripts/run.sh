#!/usr/bin/env bash
# Installs what is missing, builds and starts Tarvok.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
dir=$(bash "$root/scripts/build.sh" | tail -n 1)
if [ ! -x "$dir/src/app/Tarvok" ]; then
  echo "Built the libraries and tests in $dir; the program itself does not exist yet."
  exit 0
fi
exec "$dir/src/app/Tarvok"
