#!/usr/bin/env bash
# The right button opens the game's popup menu; its greyed "開始" does nothing and "終了" ends
# the game with status 0.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
open_course_menu

# Near the bottom-right corner the popup opens left of and above the click, and stays open.
xdotool mousemove 620 470 click 3
expect_pixel 600 450 C0C0C0 "popup near the corner"
xdotool key Escape
expect_pixel_gone 600 450 C0C0C0 "popup near the corner"
kill -0 "$GAME_PID" || fail "Esc in the popup ended the game"

# Elsewhere it opens right of and below the click: 開始 and 終了, each 20 pixels high, from 2
# pixels below its top.
xdotool mousemove 100 100 click 3
expect_pixel 105 110 C0C0C0 "popup"
xdotool mousemove 130 110 click 1
sleep 0.3
kill -0 "$GAME_PID" || fail "the greyed item ended the game"

xdotool mousemove 130 130 click 1
expect_exit 0
echo "ok"
