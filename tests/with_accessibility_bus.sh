#!/usr/bin/env bash
# Runs a command with the accessibility bus switched on, as a screen reader switches it on, and on
# an X server of its own, started with -displayfd so that it never clashes with another display.
# Stops the server when the command ends. Run it in a session bus of its own:
#
# Usage: dbus-run-session -- with_accessibility_bus.sh <command> [arguments...]
set -euo pipefail

work=$(mktemp -d)
server_pid=
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
if [[ ! -s $work/display ]]; then
    echo "with_accessibility_bus: Xvfb did not start: $(cat "$work/xvfb.log")" >&2
    exit 1
fi
export DISPLAY=:$(cat "$work/display")
for property in IsEnabled ScreenReaderEnabled; do
    timeout 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:$property variant:boolean:true \
        >/dev/null
done
status=0
"$@" || status=$?
exit "$status"
