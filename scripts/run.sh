#!/usr/bin/env bash
# Installs what is missing, builds and starts Tarvok into the notification
# area. Without a display it starts a virtual one (Xvfb) with a tray host,
# runs the program there and tells how to see it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
dir=$(bash "$root/scripts/build.sh" | tail -n 1)
exe="$dir/src/app/Tarvok"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe"
fi

source "$root/tests/e2e/lib.sh"
e2e_init run
start_xvfb
start_trayer
cat <<TEXT
No display found: Tarvok runs on the virtual display $DISPLAY, with a tray host.
  Show its window:  DISPLAY=$DISPLAY $exe
                    (a second start wakes the running copy, which shows its window)
  Look at it:       import -display $DISPLAY -window root /tmp/tarvok.png
  Answer a box:     DISPLAY=$DISPLAY xdotool search --onlyvisible --limit 1 --name '^Confirm\$' windowfocus key Return
                    (the first start asks whether to switch automatic backups on)
  Stop it:          Ctrl+C here, or Quit in its tray menu.
TEXT
status=0
"$exe" || status=$?
exit "$status"
