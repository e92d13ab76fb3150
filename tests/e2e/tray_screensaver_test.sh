#!/usr/bin/env bash
# "Screen Saver On" from the tray menu of the real program: a box when the X
# server's saver is off, the saver covering the screen when it is on. Then a
# double click and the menu's Quit, in an XEmbed tray (trayer) and in a
# D-Bus (StatusNotifierItem) tray host.
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

# Quit from the tray menu, then Yes to the question, ends the program.
quit_and_wait() {
  answer_box '^Confirm$' Return
  wait_exit "$PROGRAM_PID" 20 || fail "$1: Quit did not end the program"
}

note "XEmbed tray: a double click shows the window, the menu's Quit ends the program"
wait_gone 10 main_window || fail "the window is shown before the double click"
double_click_tray
wait_until 10 main_window >/dev/null || fail "XEmbed: a double click did not show the window"
tray_menu_key q
quit_and_wait XEmbed

note "D-Bus tray host (StatusNotifierItem): the same"
stop_trayer
start_session_bus
start_sni_host
start_program "$exe"
answer_box '^Confirm$' n
item=$(wait_until 20 sni_item) || fail "the icon was not registered with the D-Bus tray host"
# The host sends one Activate per click: a click alone does nothing, a
# double click on the host's icon shows the window.
host=$(windows_named '^gtk-sni-tray-standalone$' | while read -r id; do
  [ "$(window_size "$id" | cut -dx -f2)" -gt 20 ] && echo "$id"; done | head -n 1)
[ -n "$host" ] || fail "no window of the D-Bus tray host"
wait_gone 10 message_box || fail "the question stayed open"
icon_drawn() { [ "$(import -window "$host" -crop 30x30+0+0 -format %k info:)" -gt 1 ] && echo yes; }
wait_until 10 icon_drawn >/dev/null || fail "the D-Bus tray host shows no icon"
xdotool mousemove --window "$host" 15 15 click 1
sleep 1 # longer than the double-click time
[ -z "$(main_window)" ] || fail "D-Bus: a single click showed the window"
xdotool mousemove --window "$host" 15 15 click --repeat 2 --delay 80 1
wait_until 10 main_window >/dev/null || fail "D-Bus: a double click did not show the window"
# The menu comes over com.canonical.dbusmenu: find Quit and click it.
menu=$(bus_call -d "$item" -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierItem Menu | grep -o "'/[^']*'" | tr -d "'") || fail "the icon offers no menu"
bus_call -d "$item" -o "$menu" -m com.canonical.dbusmenu.AboutToShow 0 >/dev/null
quit=$(bus_call -d "$item" -o "$menu" -m com.canonical.dbusmenu.GetLayout -- 0 -1 '@as []' |
  grep -o "(\([0-9]*\), {[^}]*'label': <'_Quit'>" | grep -o '^([0-9]*' | tr -d '(')
[ -n "$quit" ] || fail "no Quit in the icon's menu"
bus_call -d "$item" -o "$menu" -m com.canonical.dbusmenu.Event -- "$quit" clicked '<0>' 0 >/dev/null
quit_and_wait D-Bus
echo "-- PASS"
