#!/usr/bin/env bash
# A locked course answers with the "Course Select Error" box; once it is closed the game goes
# on on the course menu, and Alt+F4 ends it with status 0.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
start_game
expect_pixel 480 110 FF0000 "course menu"
focus_game
press Down Return
box=$(wait_for_window_named "Course Select Error")
xdotool windowfocus --sync "$box"
xdotool key Return
wait_for 30 bash -c "! xdotool search --name '^Course Select Error\$'" || fail "the box did not close"

# Still on the course menu, with the bar on the second row (rows are 20 pixels apart).
expect_pixel 480 130 FF0000 "menu after the box"
expect_pixel_gone 480 110 FF0000 "menu after the box"

focus_game
press alt+F4
expect_exit 0
echo "ok"
