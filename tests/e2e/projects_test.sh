#!/usr/bin/env bash
# The projects dialog and the About window in the real program: "Edit
# Projects" opens the dialog, New then OK adds a project, the Ctrl G J N Q K
# chord opens the About window, and after quitting the settings file holds
# the new project's block. Screenshots of the select-directory dialog as it
# opens, the projects dialog and the About window are left in the build
# folder. Usage: projects_test.sh TARVOK_BINARY BUILD_DIR
set -uo pipefail
binary=$1
build=$2
. "$(dirname "$0")/lib.sh"
e2e_init projects

# Clicks a point of a window, in the window's own coordinates.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$binary" "$WORK/app") || fail "cannot install $binary"
app=$WORK/app

start_program "$exe"
running=$PROGRAM_PID
note "first start without automatic backups, then the window is shown"
answer_box '^Confirm$' Escape
double_click_tray
win=$(wait_until 30 main_window | head -n 1) || fail "the main window did not show"
wait_painted "$win"

note "the menu button's menu: Edit, Select BackUp Directory opens the dialog on the project's folder"
open_menu "$win" 112 46
xdotool key Down Down Right Up Return
answer_box '^Confirm$' Return
select=$(wait_until 30 windows_named '^Select Directory$' | head -n 1) || fail "the select-directory dialog did not open"
# The tree lists the folders on the way as it reads them; the picture is
# taken once it stands still.
wait_painted "$select"
import -window "$select" "$build/e2e-select-directory.png" || fail "no screenshot of the select-directory dialog"
focus_window "$select"
xdotool key Escape
wait_gone 30 windows_named '^Select Directory$' || fail "Escape left the select-directory dialog open"

note "the menu button's menu: File, Edit Projects"
open_menu "$win" 112 46
xdotool key Down Right Return
dialog=$(wait_until 30 windows_named '^Projects List$' | head -n 1) || fail "the projects dialog did not open"
[ "$(window_size "$dialog")" = "567x444" ] || fail "projects dialog size $(window_size "$dialog")"
wait_painted "$dialog"
import -window "$dialog" "$build/e2e-projects.png" || fail "no screenshot of the projects dialog"

note "New, then OK"
# The program takes the two clicks in order: OK sees the new project.
click_at "$dialog" 432 380
click_at "$dialog" 236 423
wait_gone 30 windows_named '^Projects List$' || fail "OK left the projects dialog open"

note "the About window from the tray menu"
tray_menu_key a
about=$(wait_until 30 windows_named '^About Tarvok$' | head -n 1) || fail "the About window did not open"
[ "$(window_size "$about")" = "411x374" ] || fail "About window size $(window_size "$about")"
wait_painted "$about"
import -window "$about" "$build/e2e-about.png" || fail "no screenshot of the About window"
focus_window "$about"
xdotool key Return
wait_gone 30 windows_named '^About Tarvok$' || fail "OK left the About window open"

note "the Ctrl G J N Q K chord in the main window opens the About window too"
focus_window "$win"
xdotool keydown ctrl key g j n q k keyup ctrl
about=$(wait_until 30 windows_named '^About Tarvok$' | head -n 1) || fail "the chord did not open the About window"
focus_window "$about"
xdotool key Return
wait_gone 30 windows_named '^About Tarvok$' || fail "OK left the About window open"

note "Quit; the settings file holds the new project's block"
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$running" 30 || fail "the program did not end after Quit"
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with $EXIT_STATUS"
settings=$app/Tarvok.ini
[ -f "$settings" ] || fail "no settings file"
expected=$(printf '%s\r\n' MyPrj-1 "$app/BkUp" 1 0 1 10)
actual=$(sed -n 13,18p "$settings")
[ "$actual" = "$expected" ] || fail "the new project's block is not in the settings file: $(cat -A "$settings")"
[ "$(wc -l <"$settings")" -eq 18 ] || fail "the settings file holds $(wc -l <"$settings") lines, not two projects"
echo "-- PASS"
