#!/usr/bin/env bash
# Draws the program's artwork into resources/ by running every
# scripts/art/*.sh in name order from the repository root. The pictures are
# committed; run this again after changing a drawing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
for script in scripts/art/*.sh; do
  echo "-- $script"
  bash "$script"
done
