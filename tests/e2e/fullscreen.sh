#!/usr/bin/env bash
# --fullscreen covers the screen (1280x1024 here) with the picture at the largest whole
# scale that fits (2), centred on black. Ctrl+drag does nothing there; Alt+Enter goes back
# to the window where it was, and again to fullscreen.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
copy_game
start_program "$WORK/game" ./quonfel --fullscreen
check_window_at 0 0 1280 1024
focus_game
# 960 rows of picture leave 32 black rows above and below it.
expect_pixel 100 $((32 + 220)) FF0000 "course menu in fullscreen"
expect_pixel 640 10 000000 "black above the picture"
expect_pixel 640 1010 000000 "black below the picture"

ctrl_drag_steps 300 300 20 20 5
sleep 0.3
check_window_at 0 0 1280 1024

press alt+Return
check_window_at 0 0
expect_pixel 50 110 FF0000 "back in the window"
press alt+Return
check_window_at 0 0 1280 1024
expect_pixel 100 $((32 + 220)) FF0000 "fullscreen again"

focus_game
press Escape
expect_exit 0
echo "ok"
