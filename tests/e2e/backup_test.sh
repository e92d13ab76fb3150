#!/usr/bin/env bash
# A user's first backup: a source file added through the real window and the
# real open dialog, backed up with the BackUp button, found on disk in its
# snapshot folder.
# Usage: backup_test.sh TARVOK_BINARY BUILD_DIR
# Every step checks its own outcome.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
e2e_init backup

# Clicks the middle of a control placed at LEFT,TOP with WIDTH x HEIGHT.
click_control() {
  xdotool mousemove --window "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2)) click 1
}

start_xvfb
start_trayer
private_runtime_dir
exe=$(install_copy "$1" "$WORK/app") || fail "cannot install $1"
mkdir "$WORK/sources" || fail "cannot make the source folder"
source_file="$WORK/sources/notes of today.txt"
printf 'precious words\n' >"$source_file" || fail "cannot write the source file"

start_program "$exe"
note "first start: no automatic backups, so nothing runs behind the test's back"
answer_box '^Confirm$' Escape
double_click_tray
win=$(wait_until 30 main_window | head -n 1) || fail "the main window did not show"
wait_painted "$win"

note "Add: the open dialog takes the typed path"
click_control "$win" 299 137 68 25
dialog=$(wait_until 30 windows_named '^Open$' | head -n 1) || fail "the open dialog did not show"
focus_window "$dialog"
xdotool type --delay 20 "$source_file"
xdotool key Return
wait_gone 30 windows_named '^Open$' || fail "the open dialog stayed open"
project_file="$WORK/app/BkUp/Project.ini"
wait_until 30 grep -s -F -l "$source_file" "$project_file" >/dev/null ||
  fail "the added file is not in $project_file"

note "BackUp: the snapshot folder of this hour holds the copy"
before=$(date +%m_%d_%H)
click_control "$win" 299 112 68 24
box=$(wait_until 30 message_box | head -n 1) || fail "no \"BackUP Success.\" box"
after=$(date +%m_%d_%H)
copy=""
for folder in "$before" "$after"; do
  [ -f "$WORK/app/BkUp/$folder/notes of today.txt" ] && copy="$WORK/app/BkUp/$folder/notes of today.txt"
done
[ -n "$copy" ] || fail "no copy in $WORK/app/BkUp/$before: $(ls -R "$WORK/app/BkUp")"
cmp -s "$source_file" "$copy" || fail "the copy differs from its source"
focus_window "$box"
xdotool key Return
wait_gone 30 message_box || fail "the success box stayed open"
note "backed up into $copy"
