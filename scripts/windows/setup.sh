#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its tests under Wine
# need; does nothing when they are all there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/../setup.sh" "$here/packages.txt"
