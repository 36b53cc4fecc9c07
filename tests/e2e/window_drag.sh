#!/usr/bin/env bash
# Ctrl and the left button drag the window, never past the screen's edges (1280x1024 here);
# a plain drag does nothing. The frame follows the window.
source "$(dirname "$0")/e2e_common.bash"

# Ctrl-drags from the first point over two more. SDL reports no motion when the pointer keeps
# its place in the window, so the two steps differ: after the first one the window has moved
# with the pointer, and an equal second step would leave it where it was in the window.
ctrl_drag() {
    xdotool mousemove "$1" "$2"
    xdotool keydown ctrl mousedown 1
    xdotool mousemove "$3" "$4"
    sleep 0.1
    xdotool mousemove "$5" "$6"
    sleep 0.1
    xdotool mouseup 1 keyup ctrl
}

start_xvfb
start_game
focus_game
expect_pixel 480 110 FF0000 "course menu"

ctrl_drag 100 100 200 175 330 260
check_window_at 230 160
expect_pixel $((230 + 480)) $((160 + 110)) FF0000 "moved window"

# Without Ctrl the window stays.
xdotool mousemove 350 300 mousedown 1
xdotool mousemove 450 400
sleep 0.1
xdotool mouseup 1
sleep 0.3
check_window_at 230 160

# Far past the bottom-right corner, then back past the top-left one.
ctrl_drag 400 300 800 600 1270 1010
check_window_at 640 544
ctrl_drag 700 600 300 300 10 10
check_window_at 0 0

focus_game
press Escape
expect_exit 0
echo "ok"
