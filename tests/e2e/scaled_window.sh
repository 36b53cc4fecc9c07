#!/usr/bin/env bash
# At --scale 2 the window is twice as large and every game pixel a 2 by 2 square, while the
# game keeps counting in its own pixels: the screen (1280x1024 here) is 640x512 of them, a
# Ctrl+drag moves the window by whole game pixels within it, and the popup menu is drawn
# twice as large where the click was. Alt+Enter shows the picture in fullscreen, centred on
# black, where Ctrl+drag does nothing, and back in the window where it was.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
copy_game
start_program "$WORK/game" ./quonfel --scale 2
check_window_at 0 0 1280 960
focus_game
# The red bar of the first course row starts at game pixel 50, 110.
expect_pixel 100 220 FF0000 "course menu at scale 2"
expect_pixel 101 221 FF0000 "the bar's first game pixel"
expect_pixel_gone 99 220 FF0000 "left of the bar"

# 40 screen pixels down are 20 game pixels; then as far as the screen lets it: x stays 0,
# y stops at 512 - 480 = 32 game pixels.
ctrl_drag_steps 100 100 0 10 4
check_window_at 0 40 1280 960
ctrl_drag_steps 100 100 100 100 2
check_window_at 0 64 1280 960
# The pointer moves from screen row 101 (game row 50) to 86 (game row 43): 7 game pixels.
ctrl_drag_steps 101 101 0 -3 5
check_window_at 0 50 1280 960
expect_pixel 100 $((50 + 220)) FF0000 "the moved window"

press alt+Return
check_window_at 0 0 1280 1024
expect_pixel 100 $((32 + 220)) FF0000 "fullscreen: 960 rows of picture between 32 black ones"
expect_pixel 640 10 000000 "black above the picture"
ctrl_drag_steps 300 300 20 20 5
press alt+Return
check_window_at 0 50 1280 960

# The popup at screen 300, 300 opens at that game pixel (150, 125 of the window): its grey
# outline, then its face, each game pixel two screen pixels wide.
xdotool mousemove 300 300 click 3
expect_pixel 301 301 808080 "popup outline"
expect_pixel 302 302 C0C0C0 "popup face"
expect_pixel 306 306 C0C0C0 "popup face"
# "終了", the second row, spans game rows 147 to 166 of the window: screen rows 344 to 383.
xdotool mousemove 340 364 click 1
expect_exit 0
echo "ok"
