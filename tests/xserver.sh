# Sourced by the tests that run the program on a real X server: a scratch folder in $work, the
# program ($app_pid) and the X server ($server_pid) stopped on exit, fail() with the program's last
# words, and start_xserver, which starts an X server of the test's own.

work=$(mktemp -d)
server_pid=
app_pid=

cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -s $work/quillora.log ]] && sed 's/^/quillora: /' "$work/quillora.log" | tail -n 40 >&2
    exit 1
}

# Xvfb picks a free display number itself (-displayfd), so tests running side by side never
# clash; DISPLAY is exported for everything that follows. A key held down is pressed once (-r).
start_xserver() {
    Xvfb -displayfd 3 -r -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    server_pid=$!
    for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
    [[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=:$(cat "$work/display")
}
