#!/usr/bin/env bash
# Starts the built program on a real X server, as a user would, and drives it with real input:
# draws figures with the mouse, uses Reset and Exit from the menu bar by mouse and by access key,
# and checks the pixels on the screen and the exit status.
#
# Usage: e2e_xvfb.sh <quillora> <quillora-xpixel>
set -euo pipefail

quillora=$1
xpixel=$2
source "$(dirname "$0")/xserver.sh"
start_xserver
export QT_QPA_PLATFORM=xcb

# Client-area origin of the window, from its geometry: the client is 373 x 350 at the bottom.
start_program() {
    "$quillora" 2>"$work/quillora.log" &
    app_pid=$!
    window=$(timeout 10 xdotool search --sync --name '^Quillora by Ardelvan$' | head -n 1) \
        || fail "no window captioned 'Quillora by Ardelvan'"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [[ $WIDTH -eq 373 ]] || fail "window is $WIDTH pixels wide, not 373"
    client_x=$X
    client_y=$((Y + HEIGHT - 350))
    menu_y=$((Y + (HEIGHT - 350) / 2))
    timeout 10 xdotool windowfocus --sync "$window" \
        || fail "the window did not take the keyboard focus"
    sleep 0.3
}

click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; }

drag() {
    xdotool mousemove $((client_x + $1)) $((client_y + $2)) mousedown 1
    xdotool mousemove $((client_x + ($1 + $3) / 2)) $((client_y + ($2 + $4) / 2))
    xdotool mousemove $((client_x + $3)) $((client_y + $4)) mouseup 1
}

# Waits for the pixel at client (x, y) to take the colour. A check that something did not change
# first waits for a later change, which shows that the events before it have been handled and
# painted.
expect_pixel() {
    local colour
    for _ in $(seq 50); do
        colour=$("$xpixel" $((client_x + $1)) $((client_y + $2)))
        [[ $colour == "$3" ]] && return 0
        sleep 0.1
    done
    fail "$4: pixel ($1, $2) is $colour, not $3"
}

expect_exit() {
    local status=0
    for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app_pid" 2>/dev/null && fail "$1: the program is still running"
    wait "$app_pid" || status=$?
    app_pid=
    [[ $status -eq 0 ]] || fail "$1: exit status $status"
}

start_program
expect_pixel 150 230 '#ffffff' "start"
click 30 121                 # "New Shape"
click 30 64                  # "Rectangle"
click 200 40                 # red slider: focus, one large step
xdotool key End              # then all the way
expect_pixel 340 50 '#ff0000' "the swatch after red 255"
# A right-click on the slider opens no menu of Qt's own, whose entries would move it: the keys
# still reach the slider, which a menu would take.
xdotool mousemove $((client_x + 150)) $((client_y + 40)) click 3
xdotool key Home
expect_pixel 340 50 '#000000' "Home on the red slider after a right-click on it"
expect_pixel 200 150 '#ffffff' "where a menu opened by the right-click would lie"
xdotool key End
expect_pixel 340 50 '#ff0000' "the swatch after End on the red slider"
drag 100 180 200 260
expect_pixel 150 220 '#ff0000' "a red rectangle dragged with the mouse"
expect_pixel 195 255 '#ff0000' "the corner of the rectangle where the drag ended"
expect_pixel 250 220 '#ffffff' "beside the rectangle"

click 30 121                 # "New Shape" cleared: a press would move the last rectangle
xdotool mousemove $((client_x + 310)) $((client_y + 40)) click --repeat 2 --delay 80 1
click 200 56                 # a double click on the label "R" starts no figure; green 16 shows
expect_pixel 340 50 '#ff1000' "the swatch after green 16, clicked after the double click"
expect_pixel 150 220 '#ff0000' "the rectangle after a double click on a label"
expect_pixel 315 140 '#ffffff' "where a double click that reached the form would have moved it"
click 30 121                 # "New Shape" ticked again

xdotool mousemove $((client_x + 22)) "$menu_y" click 1
expect_pixel 150 220 '#ffffff' "Reset from the menu"
expect_pixel 340 50 '#000000' "the swatch after Reset"

click 30 121
drag 100 180 200 260         # a black oval, as after a fresh start
expect_pixel 150 220 '#000000' "an oval after Reset"
xdotool mousemove $((client_x + 150)) $((client_y + 220)) mousedown 1
xdotool key alt+r            # Reset in the middle of a drag
xdotool mousemove $((client_x + 300)) $((client_y + 300)) mouseup 1
expect_pixel 150 220 '#ffffff' "Reset by Alt+R during a drag"
click 200 56                 # green 16, after the rest of the drag
expect_pixel 340 50 '#001000' "the swatch after green 16, clicked after the drag"
expect_pixel 290 290 '#ffffff' "nothing drawn by the rest of that drag"

xdotool mousemove $((client_x + 68)) "$menu_y" click 1
expect_exit "Exit from the menu"

start_program
xdotool key alt+e
expect_exit "Exit by Alt+E"

echo "e2e_xvfb: every check held"
