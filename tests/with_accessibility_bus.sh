#!/usr/bin/env bash
# Runs a command with the accessibility bus switched on, as a screen reader switches it on, and on
# an X server of its own, started with -displayfd so that it never clashes with another display.
# Stops the server when the command ends. Run it in a session bus of its own:
#
# Usage: dbus-run-session -- with_accessibility_bus.sh <command> [arguments...]
set -euo pipefail

source "$(dirname "$0")/xserver.sh"
start_xserver
for property in IsEnabled ScreenReaderEnabled; do
    timeout 20 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:$property variant:boolean:true \
        >/dev/null
done
status=0
"$@" || status=$?
exit "$status"
