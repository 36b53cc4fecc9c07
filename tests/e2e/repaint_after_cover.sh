#!/usr/bin/env bash
# A menu at rest draws no frames while nothing happens, so the game must show its picture again
# when its window is uncovered: a window laid over the course menu and taken away again leaves
# the menu showing, not what covered it.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
start_game
expect_pixel 480 110 FF0000 "course menu"

# An ImageMagick window of plain blue over the game's window.
display -geometry +0+0 -size 640x480 xc:#0000FF &
COVER_PID=$!
expect_pixel 480 110 0000FF "menu covered"
kill "$COVER_PID"
wait "$COVER_PID" 2>/dev/null || true
expect_pixel 480 110 FF0000 "menu uncovered"
region_has_colour screen.png 0 0 640 480 0000FF && fail "blue is left in the game's window"

focus_game
press Escape
expect_exit 0
echo "ok"
