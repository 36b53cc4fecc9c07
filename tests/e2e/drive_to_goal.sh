#!/usr/bin/env bash
# A drive to the goal with real keys: Enter on the practice course, Up into
# forward gear, W to gain speed, Q to stop, Down into neutral at the goal. The result screen
# shows goalin.bmp, score.dat is written, the next course opens on the menu, Esc ends with 0.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

start_xvfb
start_game
write_straight_course
read_practice_course
focus_game
expect_pixel 480 110 FF0000 "course menu"

drive_into_goal

[[ -s $WORK/game/score.dat ]] || fail "score.dat was not written"
(($(stat -c %s "$WORK/game/score.dat") >= 249)) || fail "score.dat is too short"

# Back on the menu the practice course is cleared (yellow, with its best time beside the
# bar) and the first course is open (white instead of grey).
press Return
expect_region_colour 50 100 96 16 FFFF00 "the practice course is not shown as cleared"
expect_region_colour 490 100 64 16 FFFF00 "the practice course shows no best time"
expect_region_colour 50 120 96 16 FFFFFF "the first course is not open"

focus_game
press Escape
expect_exit 0
echo "ok"
