#!/usr/bin/env bash
# Runs the program natively on Wayland, under a headless weston of its own: checks that its window
# shows the canvas (in a screenshot from weston's screenshooter), that weston knows it by the
# desktop entry's id, and that the program is still running a few seconds later. Needs no display; every process it starts is ended on exit.
#
# Usage: wayland_test.sh <quillora> <quillora-findcanvas>
set -euo pipefail

quillora=$1
findcanvas=$2
work=$(mktemp -d)
compositor_pid=
app_pid=

stop() {
    local pid=$1
    [[ -n $pid ]] || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    stop "$app_pid"
    # weston ends the shell and keyboard clients it started when it ends itself.
    local clients
    clients=$([[ -n $compositor_pid ]] && pgrep -P "$compositor_pid" || true)
    stop "$compositor_pid"
    for pid in $clients; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in weston quillora; do
        [[ -s $work/$log.log ]] && sed "s/^/$log: /" "$work/$log.log" | tail -n 30 >&2
    done
    exit 1
}

# A runtime directory and a socket of its own, so it never meets a real session's compositor.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
export WAYLAND_DISPLAY=quillora-test
# --debug lets any client take screenshots, as weston 10 has no setting for the screenshooter.
# WAYLAND_DEBUG=server has weston write every request it receives to its standard error.
WAYLAND_DEBUG=server weston --backend=headless-backend.so --use-pixman --no-config --idle-time=0 \
       --debug --width=800 --height=600 --socket="$WAYLAND_DISPLAY" --log="$work/weston.log" \
       2>"$work/requests.log" &
compositor_pid=$!
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break; sleep 0.1; done
[[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] || fail "weston did not start"

# No X display to fall back on: Qt must use its Wayland plug-in or fail.
env -u DISPLAY QT_QPA_PLATFORM=wayland "$quillora" >"$work/quillora.log" 2>&1 &
app_pid=$!

# Waits for a screenshot that shows the canvas.
expect_canvas() {
    local shot
    for _ in $(seq 30); do
        kill -0 "$app_pid" 2>/dev/null || fail "$1: the program ended"
        rm -f "$work"/shots/*.png
        mkdir -p "$work/shots"
        (cd "$work/shots" && weston-screenshooter >/dev/null 2>&1) || fail "$1: weston took no screenshot"
        shot=$(ls "$work"/shots/*.png)
        "$findcanvas" "$shot" >/dev/null 2>"$work/findcanvas.log" && return 0
        sleep 0.3
    done
    fail "$1: no screenshot shows the canvas: $(tail -n 1 "$work/findcanvas.log")"
}

expect_canvas "the window"
# The dock and the task switcher match a window to its launcher by the app id.
# libwayland 1.21 writes "xdg_toplevel@12.set_app_id(...)", later ones "xdg_toplevel#12...".
app_ids=$(sed -n 's/.*xdg_toplevel[@#][0-9]*\.set_app_id("\([^"]*\)").*/\1/p' "$work/requests.log")
[[ $app_ids == org.ardelvan.Quillora ]] \
    || fail "weston knows the window by the app id '${app_ids:-(none)}', not org.ardelvan.Quillora"
sleep 3
kill -0 "$app_pid" 2>/dev/null || fail "the program ended within seconds"
expect_canvas "the window after a few seconds"
echo "wayland: every check held"
