#!/usr/bin/env bash
# Runs the desktop-tool tests on a virtual display: first on the bare server
# (windows found among the root's children), then the window tests again
# under openbox (windows found in its client list).
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
