#!/usr/bin/env bash
# Starts the built program on a real X server under GNOME's dark style, which reaches Qt through
# the stock GTK platform theme, and measures on the screen the contrast of every caption of the
# frame, the option buttons and the check box against the white form. Then runs the look test
# under the same theme, where the desktop's own scheme is GNOME's dark one.
#
# Usage: e2e_dark_xvfb.sh <quillora> <quillora-xpixel> <tst_look>
set -euo pipefail

quillora=$1
xpixel=$2
tst_look=$3
source "$(dirname "$0")/xserver.sh"
start_xserver
# GNOME's dark style, as the stock GTK platform theme hands it to Qt; the screen reader below
# needs none of it.
dark=(env GTK_THEME=Adwaita:dark XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3)

"${dark[@]}" QT_QPA_PLATFORM=xcb "$quillora" 2>"$work/quillora.log" &
app_pid=$!
window=$(timeout 10 xdotool search --sync --name '^Quillora by Ardelvan$' | head -n 1) \
    || fail "no window captioned 'Quillora by Ardelvan'"
eval "$(xdotool getwindowgeometry --shell "$window")"
client_x=$X
client_y=$((Y + HEIGHT - 350))
menu_y=$((Y + (HEIGHT - 350) / 2))

# The menu bar follows the desktop: dark, or the theme did not load and this run proves nothing.
# Until the window paints, the screen beneath is black, which is dark too: the menu bar must
# first have been painted.
painted=false
for _ in $(seq 50); do
    menu=$(QT_QPA_PLATFORM=xcb "$xpixel" $((client_x + 300)) "$menu_y")
    [[ $menu != '#000000' ]] && painted=true && break
    sleep 0.1
done
[[ $painted == true ]] || fail "the menu bar is still #000000, the bare screen's black: the window never painted it"
(( 16#${menu:1:2} < 0x80 && 16#${menu:3:2} < 0x80 && 16#${menu:5:2} < 0x80 )) \
    || fail "the menu bar is $menu: GNOME's dark style did not reach the program"

# Each caption beside its indicator, in client pixels: left, top, width, height.
captions=(
    "Shape?:20:8:50:13"
    "Circle:44:24:45:17"
    "Line:44:40:45:17"
    "Rectangle:44:56:53:17"
    "Rounded Rectangle:44:72:53:25"
    "New Shape:44:112:61:17"
)
for caption in "${captions[@]}"; do
    IFS=: read -r name left top width height <<<"$caption"
    read -r contrast ink background < <(QT_QPA_PLATFORM=xcb "$xpixel" --contrast $((client_x + left)) $((client_y + top)) "$width" "$height")
    echo "\"$name\": ink $ink on $background, contrast $contrast : 1"
    [[ $background == '#ffffff' ]] || fail "\"$name\" lies on $background, not white"
    awk -v c="$contrast" 'BEGIN { exit !(c >= 7) }' || fail "\"$name\" has a contrast of only $contrast : 1"
done

kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

"${dark[@]}" QT_QPA_PLATFORM=offscreen "$tst_look" || fail "the look test under GNOME's dark style"

echo "e2e_dark_xvfb: every check held"
