#!/usr/bin/env bash
# Ctrl and the left button drag the window by exactly the pointer's movement, whatever the
# steps, never past the screen's edges (1280x1024 here); a plain drag does nothing. The frame
# follows the window.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
open_course_menu

ctrl_drag_steps 100 100 5 0 20
check_window_at 100 0
ctrl_drag_steps 300 300 50 50 2
check_window_at 200 100
expect_pixel $((200 + 480)) $((100 + 110)) FF0000 "moved window"

# Without Ctrl the window stays.
xdotool mousemove 350 300 mousedown 1
xdotool mousemove 450 400
sleep 0.1
xdotool mouseup 1
sleep 0.3
check_window_at 200 100

# One step far outside the window: it still follows, up to the bottom-right corner; then
# back past the top-left one.
ctrl_drag_steps 300 200 600 600 1
check_window_at 640 544
ctrl_drag_steps 700 600 -70 -70 10
check_window_at 0 0

focus_game
press Escape
expect_exit 0
echo "ok"
