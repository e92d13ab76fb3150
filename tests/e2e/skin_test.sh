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
  wait_until 30 main_window || fail "the window did not show"
}

# Prints "yes" once the screen shows pixel (X,Y) of window ID as that pixel
# of one of the pictures FILE...; the screen is left in $WORK/screen.png.
shows() {
  local window=$1 px=$2 py=$3 x y drawn file
  shift 3
  read -r x y < <(origin "$window")
  import -window root "$WORK/screen.png" 2>/dev/null || return
  drawn=$(pixel "$WORK/screen.png" $((x + px)) $((y + py)))
  for file; do
    [ "$(pixel "$file" "$px" "$py")" = "$drawn" ] && { echo yes; return; }
  done
}

# Prints "yes" once window ID shows the skin FILE. The program steps on to
# the next skin of its Skin folder whenever the uptime passes a multiple of
# 30 seconds; once that has happened since START (seconds of uptime), any of
# those skins will do.
skin_drawn() {
  local skins=("$2")
  awk -v from="$3" '{ exit !(int($1 / 30) > int(from / 30)) }' /proc/uptime &&
    skins+=("$(dirname "$binary")"/Skin/*.bmp)
  shows "$1" 350 488 "${skins[@]}"
}

uptime_now() { cut -d ' ' -f 1 /proc/uptime; }

# Moves the held pointer to X,Y (by way of a point beside it, so that a
# pointer already there moves too) and prints "yes" once window ID is at WX,WY.
drag_to() {
  xdotool mousemove $(($2 + 1)) "$3" mousemove "$2" "$3"
  [ "$(origin "$1")" = "$4 $5" ] && echo yes
}

# Drags window ID of program PID from its bare point (350, 75) by -100, 60,
# away from the screen's edges (a window manager may hold a window at an
# edge). The program is held from the press through the first moves, as a
# busy machine may hold it: the drag still starts at the pressed point, not
# where the pointer had gone by the time the program saw the press. The
# window follows once the program, or the window manager it hands the move
# to, holds the pointer; the pointer moves on until it has.
check_drag() {
  local window=$1 pid=$2 x y
  read -r x y < <(origin "$window")
  kill -STOP "$pid"
  xdotool mousemove $((x + 350)) $((y + 75)) mousedown 1
  for step in 1 2 3 4; do
    xdotool mousemove $((x + 350 - step * 20)) $((y + 75 + step * 12))
  done
  kill -CONT "$pid"
  wait_until 30 drag_to "$window" $((x + 250)) $((y + 135)) $((x - 100)) $((y + 60)) >/dev/null
  xdotool mouseup 1
  [ "$(origin "$window")" = "$((x - 100)) $((y + 60))" ] ||
    fail "a drag by -100,60 moved the window from $x,$y to $(origin "$window")"
}

note "the window is frameless, rounded and painted with the built-in skin"
exe=$(prepare -1 plain)
import -window root "$WORK/desktop.png"
started=$(uptime_now)
start_program "$exe"
program=$PROGRAM_PID
wait_until 30 tray_icon >/dev/null || fail "no tray icon"
window=$(show_window "$exe") || fail "the window did not show"
[ "$(window_size "$window")" = "700x500" ] || fail "window size $(window_size "$window")"
wait_until 30 skin_drawn "$window" "$root/resources/skin/background.bmp" "$started" >/dev/null ||
  fail "the built-in skin is not drawn"
read -r x y < <(origin "$window")
[ "$(pixel "$WORK/screen.png" "$x" "$y")" = "$(pixel "$WORK/desktop.png" "$x" "$y")" ] ||
  fail "the top-left corner is not cut away"
import -window "$window" "$build/e2e-skin-builtin.png" || fail "no screenshot"

note "a drag on bare skin moves the window by the drag distance"
check_drag "$window" "$program"

note "the close button asks first; No keeps the window"
read -r x y < <(origin "$window")
xdotool mousemove $((x + 590)) $((y + 46)) click 1
clicked=$(date +%s%N)
answer_box '^Confirm$' Escape
wait_gone 30 windows_named '^Confirm$' || fail "the question stayed open"
[ -n "$(main_window)" ] || fail "No closed the window"
# A press near the last one within the double-click time (400 ms) would be a
# double click. A move away in between does not always end that: a busy
# program may receive the moves merged into one, so the double-click time is
# also waited out, counted from the first click.
while [ $((($(date +%s%N) - clicked) / 1000000)) -lt 600 ]; do sleep 0.05; done
xdotool mousemove $((x + 560)) $((y + 75)) mousemove $((x + 590)) $((y + 46)) click 1
answer_box '^Confirm$' Return
wait_exit "$program" 30 || fail "the program did not end after Yes"

note "under openbox: no taskbar entry, an example skin, a drag"
start_openbox
exe=$(prepare 0 skinned)
started=$(uptime_now)
start_program "$exe"
program=$PROGRAM_PID
wait_until 30 tray_icon >/dev/null || fail "no tray icon"
window=$(show_window "$exe")
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the window is offered to the taskbar"
wait_until 30 skin_drawn "$window" "$(dirname "$binary")/Skin/TarvokSkin0.bmp" "$started" >/dev/null ||
  fail "the example skin is not drawn"
import -window "$window" "$build/e2e-skin-example.png" || fail "no screenshot"
check_drag "$window" "$program"

note "Change Skin: the 640 x 460 example leaves no light band in the 700 x 500 window"
smaller=$(dirname "$binary")/Skin/TarvokSkin2.bmp
corner=$(pixel "$smaller" 639 459)
smaller_shown() {
  import -window "$window" "$WORK/smaller.png" 2>/dev/null &&
    [ "$(pixel "$WORK/smaller.png" 320 20)" = "$(pixel "$smaller" 320 20)" ] &&
    [ "$(pixel "$WORK/smaller.png" 670 250)" = "$corner" ] &&
    [ "$(pixel "$WORK/smaller.png" 350 485)" = "$corner" ] && echo ok
}
# Ctrl+C steps through the skins; the timely change may step too, so the
# keys go on until the smaller one shows.
to_smaller() { smaller_shown || { xdotool key ctrl+c && wait_until 3 smaller_shown; }; }
focus_window "$window"
wait_until 60 to_smaller >/dev/null || fail "the band beyond the smaller skin is not its corner colour $corner"
cp "$WORK/smaller.png" "$build/e2e-skin-smaller.png"
note "hidden and shown again, it still has no taskbar entry"
tray_menu_key i
wait_gone 30 main_window || fail "H&ide left the window visible"
window=$(show_window "$exe")
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "shown again, the window is offered to the taskbar"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$program" 30 || fail "the program did not end"
note "ok"
