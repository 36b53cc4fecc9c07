#!/usr/bin/env bash
# A drive paused for five seconds shows its label over the still course view, keeps no pause
# key and replays to its goal. That the pause counts in no time is pinned exactly by the
# headless drive with a fake clock (tests/replays/pause_test.cpp): here the frames come at
# the machine's pace, so seconds are not compared.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

PAUSE_SECONDS=5

# The course view stands still under the label: yellow writing on a black box above the bus.
while_paused() {
    sleep 1
    expect_pixel 145 85 000000 "the pause label's box"
    shoot paused.png
    region_has_colour paused.png 150 90 96 24 FFFF00 || fail "no writing on the pause label"
    sleep 2
    shoot paused-later.png
    [[ $(compare -metric AE "$WORK/paused.png" "$WORK/paused-later.png" null: 2>&1 | cut -d' ' -f1) == 0 ]] ||
        fail "the picture moved while paused"
    sleep "$(awk "BEGIN { left = $PAUSE_SECONDS - ($(date +%s.%N) - $PAUSE_BEGAN); print (left > 0 ? left : 0) }")"
}

open_straight_course_menu
drive_into_goal
BEST=$WORK/game/best-0.keys
[[ $(sed -n 's/^penalty //p' "$BEST") == 0 ]] || fail "the paused drive has a penalty"
grep -Eq '^[0-9]+ P$' "$BEST" && fail "the pause key was recorded"
press Escape
expect_exit 0

start_program "$WORK/game" ./quonfel --watch best-0.keys
focus_game
wait_for 120 showing goalin.bmp || fail "the recorded drive did not reach its goal"
press Return
expect_exit 0
