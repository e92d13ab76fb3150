#!/usr/bin/env bash
# Runs the desktop-tool tests on a virtual display: first on the bare server
# (windows found among the root's children), then the window tests again
# under openbox (windows found in its client list). Then the real program
# ($2): the desktop's lasting wallpaper setting put back after a logon, also
# by the next logon after a normal Exit, and
# the rounded window under weston's compositor with XWayland.
set -uo pipefail
. "$(dirname "$0")/../e2e/lib.sh"
e2e_init desktop-tools
start_xvfb
# No session bus: the X server's own screen saver is the one tested.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus"

note "bare X server"
"$1" || fail "desktop tests on the bare server"

note "under openbox"
start_openbox
"$1" --gtest_filter='*Window*:*HideIE*' || fail "window tests under openbox"

note "with a session bus offering the screen saver"
out="$WORK/bus.out"
dbus-run-session -- "$1" --gtest_filter='SessionScreenSaverTest.*' >"$out" 2>&1 || { cat "$out"; fail "session bus test"; }
grep -q '^\[       OK \]' "$out" || { cat "$out"; fail "the session bus test did not run"; }

# ---- The real program ($2) ----
tarvok=$2
private_runtime_dir
start_trayer
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 {print $3}'; }

# A fresh program folder showing example skin 0, with no start-up question.
prepare() {
  local app=$WORK/$1
  install_copy "$tarvok" "$app" >/dev/null
  cp -r "$(dirname "$tarvok")/Skin" "$app/Skin" || fail "no Skin folder beside the built program"
  printf '%s\r\n' 0 0 2 "Reserve 1" "Reserve 2" "Reserve 3" >"$app/Tarvok.ini"
  echo "$app/Tarvok"
}

note "GNOME's lasting wallpaper setting: back at SIGTERM, and at the next start after SIGKILL"
# gsettings and dconf over one folder of files: a key without a file is at
# its default, which dconf reads as nothing.
store=$WORK/dconf
mkdir -p "$WORK/bin" "$store"
cat >"$WORK/bin/gsettings" <<'SH'
#!/bin/sh
f="$FAKE_DCONF/$2.$3"
case $1 in
  get) cat "$f" 2>/dev/null || echo "'file:///usr/share/backgrounds/default.png'" ;;
  set) printf '%s\n' "$4" >"$f" ;;
  reset) rm -f "$f" ;;
  *) exit 1 ;;
esac
SH
cat >"$WORK/bin/dconf" <<'SH'
#!/bin/sh
[ "$1" = read ] || exit 1
dir=${2%/*}
cat "$FAKE_DCONF/$(echo "${dir#/}" | tr / .).${2##*/}" 2>/dev/null
exit 0
SH
chmod +x "$WORK/bin/gsettings" "$WORK/bin/dconf"
export FAKE_DCONF=$store XDG_CURRENT_DESKTOP=GNOME PATH="$WORK/bin:$PATH" XDG_CONFIG_HOME=$WORK/config
logon=$XDG_CONFIG_HOME/autostart/Tarvok-wallpaper.desktop
uri=$store/org.gnome.desktop.background.picture-uri
dark=$store/org.gnome.desktop.background.picture-uri-dark
exe=$(prepare wallpaper)
keep=$WORK/wallpaper/Tarvok.wallpaper

# Starts the program, shows its window and sets the skin as wallpaper (Ctrl+W).
set_wallpaper() {
  start_program "$exe"
  wait_until 30 tray_icon >/dev/null || fail "no tray icon"
  "$exe" # a second start shows the running copy's window
  local window
  window=$(wait_until 30 main_window) || fail "the window did not show"
  focus_window "$window"
  xdotool keydown ctrl key w keyup ctrl
  wait_until 30 grep -l TarvokSkin0 "$uri" >/dev/null || fail "the wallpaper setting was not written"
  grep -q TarvokSkin0 "$dark" || fail "the dark wallpaper setting was not written"
  [ -s "$keep" ] || fail "the replaced setting was not kept on disk"
}
# The user's own picture is back, the key at its default is reset again.
restored() { grep -q "mine.png" "$uri" && [ ! -e "$dark" ] && [ ! -e "$keep" ] && echo yes; }

echo "'file:///home/me/mine.png'" >"$uri"
set_wallpaper
kill -TERM "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" 20 || fail "SIGTERM did not end the program"
[ -n "$(restored)" ] || fail "SIGTERM did not put the wallpaper setting back: $(cat "$uri") $(ls "$store")"

set_wallpaper
kill -KILL "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" 20
grep -q TarvokSkin0 "$uri" || fail "the killed program's setting went away by itself"
start_program "$exe"
wait_until 20 restored >/dev/null || fail "the next start did not put the wallpaper setting back"
kill -TERM "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" 20 || fail "the program did not end"

note "a normal Exit leaves the wallpaper for the logon; the next logon puts it back once"
set_wallpaper
tray_menu_key q
answer_box '^Confirm$' Return
wait_exit "$PROGRAM_PID" 20 || fail "Quit did not end the program"
grep -q TarvokSkin0 "$uri" || fail "the wallpaper did not last the logon after Exit"
command=$(sed -n 's/^Exec=//p' "$logon") || fail "no restore entry for the next logon"
sh -c "$command" || fail "the restore entry failed: $command"
[ -n "$(restored)" ] || fail "the next logon did not put the wallpaper setting back"
[ ! -e "$logon" ] || fail "the restore entry outlived its run"

note "under weston with XWayland: the desktop shows outside the rounded corners"
# A plain green desktop, so nothing of the window can pass for it.
printf '[core]\nxwayland=true\n[shell]\nbackground-color=0xff00a000\npanel-position=none\n' >"$WORK/weston.ini"
weston --backend=headless-backend.so --xwayland --use-pixman --debug --config="$WORK/weston.ini" \
  --socket=tarvok-weston --width=1024 --height=768 >"$WORK/weston.log" 2>&1 &
track $!
if ! xdisplay=$(wait_until 20 sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log"); then
  note "SKIP: weston did not start here: $(tail -n 3 "$WORK/weston.log")"
  exit 0
fi
export DISPLAY=$xdisplay WAYLAND_DISPLAY=tarvok-weston
# XWayland starts with its first client, then weston's X window manager,
# which does not always come up on a busy machine.
if ! wait_until 30 xdpyinfo_ok >/dev/null || ! wait_until 30 grep -o "created wm" "$WORK/weston.log" >/dev/null; then
  note "SKIP: XWayland or weston's X window manager did not start: $(tail -n 3 "$WORK/weston.log")"
  exit 0
fi
# The window manager is ready once it maps a plain client's window.
xmessage -title tarvok-probe ready >/dev/null 2>&1 &
probe=$!
if ! wait_until 60 windows_named '^tarvok-probe$' >/dev/null; then
  kill "$probe" 2>/dev/null
  note "SKIP: weston's X window manager maps no window here: $(tail -n 3 "$WORK/weston.log")"
  exit 0
fi
{ kill "$probe"; wait "$probe"; } 2>/dev/null || true
exe=$(prepare weston)
start_program "$exe"
# Then wait for the program's wake-up socket.
listening() { [ -S "$XDG_RUNTIME_DIR/Tarvok" ] && echo yes; }
wait_until 30 listening >/dev/null || fail "the program did not start under weston"
# A second start shows the running copy's window; asked again while XWayland is slow.
woken() { timeout 10 "$exe" >/dev/null 2>&1; wait_until 5 main_window; }
window=$(wait_until 60 woken | head -n 1)
[ -n "$window" ] || fail "the window did not show under weston: $(cat "$WORK/$E2E_OUTPUTS.out"; tail -n 5 "$WORK/weston.log")"
shot() { (cd "$WORK" && rm -f wayland-screenshot-*.png && timeout 10 weston-screenshooter >/dev/null 2>&1 && ls wayland-screenshot-*.png); }
read -r x y < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
desktop=#00A000
# Drawn: the skin's middle is on screen, the corner outside the shape is desktop.
drawn() {
  local png
  png=$WORK/$(shot) || return
  [ "$(pixel "$png" $((x + 350)) $((y + 250)))" != $desktop ] &&
    [ "$(pixel "$png" $((x + 3)) $((y + 3)))" = $desktop ] && echo "$png"
}
wait_until 20 drawn >/dev/null || {
  png=$WORK/$(shot)
  fail "under weston at $x,$y: corner $(pixel "$png" $((x + 3)) $((y + 3))), middle $(pixel "$png" $((x + 350)) $((y + 250)))"
}
kill -TERM "$PROGRAM_PID"
wait_exit "$PROGRAM_PID" 20 || fail "the program did not end under weston"
