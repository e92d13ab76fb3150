#!/usr/bin/env bash
# The skinned window end to end: no frame and no taskbar entry, the rounded
# corners cut through to the desktop, the built-in skin drawn, a drag on bare
# skin moving the window, the close button asking first; then once more under
# openbox with an example skin, changed to a smaller one. Screenshots of the
# three are kept in the build folder. Usage: skin_test.sh <Tarvok binary> <build dir>
set -u -o pipefail
binary=$1
build=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$(dirname "$0")/lib.sh"
e2e_init skin
start_xvfb
start_trayer
private_runtime_dir

# Colour of one pixel of a picture file, as #RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 {print $3}'; }
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}'; }

# A fresh program folder whose settings pick skin $1 without asking anything.
prepare() {
  local app=$WORK/$2
  install_copy "$binary" "$app" >/dev/null
  cp -r "$(dirname "$binary")/Skin" "$app/Skin" || fail "no Skin folder beside the built program"
  printf '%s\r\n' 0 "$1" 2 "Reserve 1" "Reserve 2" "Reserve 3" >"$app/Tarvok.ini"
  echo "$app/Tarvok"
}

show_window() {
  "$1" >/dev/null 2>&1 # a second start shows the running copy's window
  wait_until 10 main_window || fail "the window did not show"
}

# Drags from the bare point (350, 75) of the window by -100, 60, away from
# the screen's edges (a window manager may hold a window at an edge).
check_drag() {
  local window=$1 x y nx ny
  read -r x y < <(origin "$window")
  xdotool mousemove $((x + 350)) $((y + 75)) mousedown 1
  for step in 1 2 3 4 5; do
    sleep 0.1
    xdotool mousemove $((x + 350 - step * 20)) $((y + 75 + step * 12))
  done
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
  read -r nx ny < <(origin "$window")
  [ "$nx $ny" = "$((x - 100)) $((y + 60))" ] || fail "a drag by -100,60 moved the window from $x,$y to $nx,$ny"
}

note "the window is frameless, rounded and painted with the built-in skin"
exe=$(prepare -1 plain)
import -window root "$WORK/desktop.png"
start_program "$exe"
program=$PROGRAM_PID
wait_until 10 tray_icon >/dev/null || fail "no tray icon"
window=$(show_window "$exe") || fail "the window did not show"
[ "$(window_size "$window")" = "700x500" ] || fail "window size $(window_size "$window")"
sleep 1
import -window root "$WORK/shown.png"
read -r x y < <(origin "$window")
[ "$(pixel "$WORK/shown.png" "$x" "$y")" = "$(pixel "$WORK/desktop.png" "$x" "$y")" ] ||
  fail "the top-left corner is not cut away"
[ "$(pixel "$WORK/shown.png" $((x + 350)) $((y + 488)))" = "$(pixel "$root/resources/skin/background.bmp" 350 488)" ] ||
  fail "the built-in skin is not drawn"
import -window "$window" "$build/e2e-skin-builtin.png" || fail "no screenshot"

note "a drag on bare skin moves the window by the drag distance"
check_drag "$window"

note "the close button asks first; No keeps the window"
read -r x y < <(origin "$window")
xdotool mousemove $((x + 590)) $((y + 46)) click 1
answer_box '^Confirm$' Escape
wait_gone 10 windows_named '^Confirm$' || fail "the question stayed open"
[ -n "$(main_window)" ] || fail "No closed the window"
sleep 0.5 # a press within the double-click time of the last one is a double click, not a click
xdotool mousemove $((x + 590)) $((y + 46)) click 1
answer_box '^Confirm$' Return
wait_exit "$program" 20 || fail "the program did not end after Yes"

note "under openbox: no taskbar entry, an example skin, a drag"
openbox >"$WORK/openbox.log" 2>&1 &
track $!
wait_until 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -o "0x[0-9a-f]*"' >/dev/null || fail "openbox did not start"
exe=$(prepare 0 skinned)
start_program "$exe"
program=$PROGRAM_PID
wait_until 10 tray_icon >/dev/null || fail "no tray icon"
window=$(show_window "$exe")
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the window is offered to the taskbar"
sleep 1
import -window root "$WORK/skinned.png"
read -r x y < <(origin "$window")
[ "$(pixel "$WORK/skinned.png" $((x + 350)) $((y + 488)))" = \
  "$(pixel "$(dirname "$binary")/Skin/TarvokSkin0.bmp" 350 488)" ] || fail "the example skin is not drawn"
import -window "$window" "$build/e2e-skin-example.png" || fail "no screenshot"
check_drag "$window"

note "Change Skin twice: the 640 x 460 example leaves no light band in the 700 x 500 window"
smaller=$(dirname "$binary")/Skin/TarvokSkin2.bmp
corner=$(pixel "$smaller" 639 459)
smaller_shown() {
  import -window "$window" "$WORK/smaller.png" 2>/dev/null &&
    [ "$(pixel "$WORK/smaller.png" 320 20)" = "$(pixel "$smaller" 320 20)" ] &&
    [ "$(pixel "$WORK/smaller.png" 670 250)" = "$corner" ] &&
    [ "$(pixel "$WORK/smaller.png" 350 485)" = "$corner" ] && echo ok
}
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.3
xdotool key ctrl+c
sleep 0.3
xdotool key ctrl+c
wait_until 10 smaller_shown >/dev/null || fail "the band beyond the smaller skin is not its corner colour $corner"
cp "$WORK/smaller.png" "$build/e2e-skin-smaller.png"
note "hidden and shown again, it still has no taskbar entry"
tray_menu_key i
wait_gone 10 main_window || fail "H&ide left the window visible"
window=$(show_window "$exe")
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "shown again, the window is offered to the taskbar"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$program" 20 || fail "the program did not end"
note "ok"
