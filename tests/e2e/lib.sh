# Shared helpers of the end-to-end tests: the real program under Xvfb with a
# tray host, driven by xdotool. Source it, then call e2e_init first.
#
# e2e_init NAME           work dir $WORK, cleanup on exit (kills what was started, removes $WORK)
# fail MESSAGE...         prints "FAIL: MESSAGE" and ends the test with status 1
# note MESSAGE...         prints one progress line
# track PID               kills PID (and waits for it) at cleanup
# start_xvfb              starts Xvfb on a free display, waits until it answers, exports DISPLAY; sets XVFB_PID
# start_trayer            starts the trayer tray host and waits until it shows; sets TRAYER_PID
# start_openbox           starts openbox and waits until it manages the screen
# stop_trayer             ends the tray host started by start_trayer
# start_session_bus       a private session bus (no services started on demand); exports DBUS_SESSION_BUS_ADDRESS
# start_sni_host          a D-Bus tray host (StatusNotifier watcher and a GTK tray) on that bus; sets SNI_HOST_PIDS
# stop_sni_host           ends the host started by start_sni_host
# sni_item                the bus name the program's icon registered with the D-Bus tray host, or nothing
# private_runtime_dir     exports XDG_RUNTIME_DIR as a fresh 0700 folder inside $WORK
# install_copy BIN DIR    copies the program into DIR (a fresh AppDir, so Tarvok.ini starts anew); prints DIR/Tarvok
# start_program EXE       starts EXE in the background (output in $WORK/<n>.out); sets PROGRAM_PID and tracks it
# windows_named REGEX     ids of the viewable windows whose name matches REGEX, one a line
# window_size ID          WIDTHxHEIGHT of a window
# main_window             id of the viewable main window ("Tarvok", wider than 300), or nothing
# tray_icon               id of the program's icon docked in the tray host, or nothing
# message_box             ids of the program's open message boxes (its windows named "Tarvok" that are not main window, icon or menu)
# popup_menu              ids of the program's open pop-up menus
# wait_until SECONDS CMD...  runs CMD until it prints something (printed) or the time is up (status 1)
# wait_gone SECONDS CMD...   runs CMD until it prints nothing (status 1 when the time is up)
# focus_window ID         gives window ID the keyboard focus and waits until it has it
# wait_painted ID         waits until window ID shows a drawn, settled picture
# answer_box REGEX KEY    waits for a viewable window named REGEX, focuses it and presses KEY
# open_menu ID X Y        right-clicks window ID at X,Y and waits for the pop-up menu
# tray_menu_key KEY       opens the tray icon's menu with a right click and presses KEY in it
# double_click_tray       double-clicks the tray icon
# wait_exit PID SECONDS   waits for PID (started by this shell) to end; sets EXIT_STATUS (status 1 when the time is up)

e2e_init() {
  WORK=$(mktemp -d "/tmp/tarvok-e2e-$1.XXXXXX")
  E2E_PIDS=()
  E2E_OUTPUTS=0
  trap e2e_cleanup EXIT
}

# Keeps the test's own exit status: a killed program's status must not replace it.
e2e_cleanup() {
  local status=$? pid i out
  # Last started first: the program ends before its X server, as in a session.
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${E2E_PIDS[i]}
    # A process a test left stopped takes the signal only once continued. The
    # continue goes first: sent after the TERM it can cancel the stop that
    # the sanitizer's leak check at exit puts its own process in, and both wait.
    { kill -CONT "$pid" && kill "$pid" && wait "$pid"; } 2>/dev/null || true
  done
  # A failure shows what the programs wrote (a sanitizer's report, say).
  if [ "$status" -ne 0 ]; then
    for out in "$WORK"/*.out; do
      [ -s "$out" ] && { echo "== $(basename "$out"):"; tail -n 60 "$out"; } >&2
    done
  fi
  rm -rf "$WORK"
  exit "$status"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

note() { echo "-- $*"; }

track() { E2E_PIDS+=("$1"); }

# Xvfb picks a free display itself, so suites running side by side never
# share one, and writes its number once it takes connections. -noreset: a
# server whose last client leaves resets, dropping the root's properties (a
# kept background, the saver's settings) and refusing clients meanwhile.
start_xvfb() {
  rm -f "$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  track $!
  wait_until 30 grep -x '[0-9][0-9]*' "$WORK/display" 2>/dev/null >/dev/null || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  DISPLAY=":$(cat "$WORK/display")"
  export DISPLAY
  wait_until 30 xdpyinfo_ok >/dev/null || fail "Xvfb does not answer on $DISPLAY"
}

xdpyinfo_ok() { xdpyinfo >/dev/null 2>&1 && echo ok; }

start_trayer() {
  trayer --edge bottom --align left --widthtype request >"$WORK/trayer.log" 2>&1 &
  TRAYER_PID=$!
  track "$TRAYER_PID"
  wait_until 30 windows_named '^panel$' >/dev/null || fail "trayer did not start"
}

stop_trayer() {
  kill "$TRAYER_PID" 2>/dev/null && wait "$TRAYER_PID" 2>/dev/null
  true
}

start_openbox() {
  openbox >"$WORK/openbox.log" 2>&1 &
  track $!
  wait_until 30 openbox_ready >/dev/null || fail "openbox did not start: $(cat "$WORK/openbox.log")"
}

# A window manager names its check window on the root once it has taken the screen.
openbox_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o 'window id # 0x[0-9a-f]*'; }

# Its command ends first, so that dbus-run-session ends the bus too. It starts
# no services on demand: the accessibility bus that GTK and Qt would start
# that way outlives the test.
start_session_bus() {
  cat >"$WORK/bus.conf" <<'XML'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
XML
  # A second bus in one test must not read the first one's file.
  rm -f "$WORK/bus"
  dbus-run-session --config-file="$WORK/bus.conf" -- \
    sh -c 'echo "$$ $DBUS_SESSION_BUS_ADDRESS" >"$0"; exec sleep 3600' "$WORK/bus" &
  local session=$! inner bus
  read -r inner bus < <(wait_until 10 cat "$WORK/bus" 2>/dev/null) || { kill "$session"; fail "no session bus"; }
  # Not dbus-run-session itself: killed at once, it would leave its bus running.
  track "$inner"
  export DBUS_SESSION_BUS_ADDRESS=$bus
}

bus_call() { gdbus call --session --timeout 5 "$@" 2>/dev/null; }

watcher_property() {
  bus_call -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierWatcher "$1"
}

# start_sni_host [NAME]: the watcher runs under the program name NAME
# (gnome-shell, say), as the desktop's own would.
start_sni_host() {
  local watcher
  watcher=$(command -v status-notifier-watcher)
  if [ -n "${1:-}" ]; then
    mkdir -p "$WORK/host-bin"
    ln -sf "$watcher" "$WORK/host-bin/$1"
    watcher=$WORK/host-bin/$1
  fi
  "$watcher" >"$WORK/watcher.log" 2>&1 &
  SNI_HOST_PIDS=($!)
  track $!
  gtk-sni-tray-standalone --bottom >"$WORK/sni-tray.log" 2>&1 &
  SNI_HOST_PIDS+=($!)
  track $!
  sni_host_ready() { watcher_property IsStatusNotifierHostRegistered | grep -o true; }
  wait_until 20 sni_host_ready >/dev/null || fail "the D-Bus tray host did not start: $(cat "$WORK/sni-tray.log")"
}

stop_sni_host() {
  local pid
  for pid in "${SNI_HOST_PIDS[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  true
}

# Qt registers the icon under its connection's unique name.
sni_item() { watcher_property RegisteredStatusNotifierItems | grep -o "'[^'/]*" | head -n 1 | tr -d "'"; }

private_runtime_dir() {
  export XDG_RUNTIME_DIR="$WORK/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}

install_copy() {
  mkdir -p "$2"
  cp "$1" "$2/Tarvok"
  echo "$2/Tarvok"
}

start_program() {
  E2E_OUTPUTS=$((E2E_OUTPUTS + 1))
  "$@" >"$WORK/$E2E_OUTPUTS.out" 2>&1 &
  PROGRAM_PID=$!
  track "$PROGRAM_PID"
}

# xwininfo's tree lines read: 0x400013 "Tarvok": ("Tarvok" "Tarvok")  700x500+225+143  +225+143
windows_named() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk -v re="$1" '
      match($0, /"[^"]*":/) { name = substr($0, RSTART + 1, RLENGTH - 3); if (name ~ re) print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
}

window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

main_window() {
  local id
  for id in $(windows_named '^Tarvok$'); do
    [ "$(window_size "$id" | cut -dx -f1)" -gt 300 ] && echo "$id"
  done
  true
}

tray_icon() {
  local id
  for id in $(windows_named '^Tarvok$'); do
    [ "$(window_size "$id" | cut -dx -f1)" -le 64 ] && echo "$id"
  done
  true
}

# Message boxes carry the program's name like the main window, the icon and
# the pop-up menus; they are the windows of that name that are none of these.
message_box() {
  local id others
  others=$(main_window; tray_icon; popup_menu)
  for id in $(windows_named '^Tarvok$'); do
    grep -qx "$id" <<<"$others" || echo "$id"
  done
  true
}

wait_until() {
  local seconds=$1 out
  shift
  local end=$((SECONDS + seconds))
  while [ $SECONDS -le $end ]; do
    out=$("$@")
    [ -n "$out" ] && { echo "$out"; return 0; }
    sleep 0.1
  done
  return 1
}

wait_gone() {
  local seconds=$1
  shift
  local end=$((SECONDS + seconds))
  while [ $SECONDS -le $end ]; do
    [ -z "$("$@")" ] && return 0
    sleep 0.1
  done
  return 1
}

# Asks for the focus until the server reports it on ID: keys sent after that
# reach the window.
focus_window() {
  wait_until 30 focused_or_ask "$1" >/dev/null || fail "window $1 did not take the keyboard focus"
}

focused_or_ask() {
  if [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; then
    echo yes
  else
    xdotool windowfocus "$1" 2>/dev/null
  fi
}

# An undrawn window shows the bare root (two colours) or black; a drawn one
# more, and the same in two shots in a row once the drawing is done.
wait_painted() {
  local shot last=""
  local end=$((SECONDS + 20))
  while [ $SECONDS -le $end ]; do
    shot=$(import -window "$1" miff:- 2>/dev/null | identify -format '%k %#' - 2>/dev/null)
    [ "${shot%% *}" -gt 2 ] 2>/dev/null && [ "$shot" = "$last" ] && return 0
    last=$shot
    sleep 0.1
  done
  fail "window $1 was not drawn"
}

answer_box() {
  local box
  box=$(wait_until 30 windows_named "$1" | head -n 1) || fail "no window named $1"
  focus_window "$box"
  xdotool key "$2"
}

# Pop-up menus carry the program's name too; besides the icon, they are the
# ones the window manager is told to leave alone (override-redirect).
popup_menu() {
  local id icon
  icon=$(tray_icon)
  for id in $(windows_named '^Tarvok$'); do
    [ "$id" != "$icon" ] && xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && echo "$id"
  done
  true
}

open_menu() {
  # A click that comes while the window manager or the program is still busy
  # can be lost; it is given again until a menu shows.
  click_for_menu() {
    xdotool mousemove --window "$1" "$2" "$3" click 3
    wait_until 3 popup_menu
  }
  wait_until 30 click_for_menu "$@" >/dev/null || fail "no menu opened"
}

tray_menu_key() {
  local icon
  icon=$(wait_until 30 tray_icon | head -n 1) || fail "no tray icon"
  open_menu "$icon" 8 8
  xdotool key "$1"
}

double_click_tray() {
  local icon
  icon=$(wait_until 30 tray_icon | head -n 1) || fail "no tray icon"
  xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
}

wait_exit() {
  local end=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do
    [ $SECONDS -gt $end ] && return 1
    sleep 0.1
  done
  wait "$1"
  EXIT_STATUS=$?
}
