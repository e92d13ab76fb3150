#!/usr/bin/env bash
# "Screen Saver On" from the tray menu of the real program: a box when the X
# server's saver is off, the saver covering the screen when it is on.
# Usage: tray_screensaver_test.sh <Tarvok binary> <build dir>
set -u -o pipefail
binary=$1
build=$2
source "$(dirname "$0")/lib.sh"
e2e_init tray-screensaver
start_xvfb
start_trayer
private_runtime_dir
# No session bus: the X server's own saver is the one asked.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"
exe=$(install_copy "$binary" "$WORK/app")
start_program "$exe"
answer_box '^Confirm$' n
wait_gone 10 windows_named '^Confirm$' || fail "the question stayed open"
wait_until 10 tray_icon >/dev/null || fail "no icon in the notification area"

# From the menu's end: About, then Screen Saver On. The menu acts on the
# key's press; the caller lets the key go (any input ends a saver).
screen_saver_on() {
  tray_menu_key Up
  xdotool key Up keydown Return
}

pixel() { convert "$1" -format "%[pixel:p{$2}]" info:; }

note "saver off: the box says so and closes with OK"
xset s off
screen_saver_on
xdotool keyup Return
box=$(wait_until 10 message_box | head -n 1) || fail "no box with the saver off"
wait_painted "$box"
import -window root "$build/e2e-screensaver-off.png"
focus_window "$box"
xdotool key Return
wait_gone 10 message_box || fail "the box stayed open"

note "saver on: no box, the screen is covered (the tray icon too)"
xset s 600 s noblank r off
import -window root "$WORK/before.png"
[ "$(pixel "$WORK/before.png" 12,755)" != "$(pixel "$WORK/before.png" 500,300)" ] ||
  fail "the tray icon is not visible before the saver"
covered() {
  import -window root "$WORK/after.png" && [ "$(pixel "$WORK/after.png" 12,755)" = "$(pixel "$WORK/after.png" 500,300)" ] &&
    echo yes
}
screen_saver_on
wait_until 10 covered >/dev/null || fail "the screen saver did not cover the screen"
[ -z "$(message_box)" ] || fail "a box opened with the saver on"
xdotool keyup Return
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended"
echo "-- PASS"
