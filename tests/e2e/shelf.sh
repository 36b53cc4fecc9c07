#!/usr/bin/env bash
# The shelf in the real game: --map drives the course at once and puts it in courses/; at the
# next start the course menu's last row opens the shelf although course 10 is not finished,
# with its bar on the course, and Esc goes back to the course menu's last row.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
copy_game
cp "$WORK/game/0.map" "$WORK/mine.map"
start_program "$WORK/game" ./quonfel --map "$WORK/mine.map"
focus_game
expect_pixel 600 300 004000 "driving screen of --map"
press Escape
expect_exit 0
cmp -s "$WORK/mine.map" "$WORK/game/courses/mine.map" || fail "--map did not put the course on the shelf"

start_game
focus_game
expect_pixel 480 110 FF0000 "course menu"
for _ in {1..11}; do press Down; done
expect_pixel 480 330 FF0000 "the course menu's last row"
press Return
expect_pixel 480 110 FF0000 "the shelf, its bar on the course"
expect_pixel_gone 480 330 FF0000 "the shelf"
press Escape
expect_pixel 480 330 FF0000 "back on the course menu's last row"
press Escape
expect_exit 0
[[ ! -s $WORK/game.log ]] || fail "the game said: $(cat "$WORK/game.log")"
echo "ok"
