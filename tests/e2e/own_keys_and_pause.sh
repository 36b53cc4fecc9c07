#!/usr/bin/env bash
# One drive to the goal with the player's own keys and a pause. With "key faster-0.4 = E" in
# the preferences file E drives the bus as W does, W still works, and the recorded drive holds
# W for each E; a key the game uses for something else is refused with one line, and the rest
# applies. Paused for five seconds, the drive shows its label over the still course view, keeps
# no pause key and replays to its goal. That the pause counts in no time is pinned exactly by
# the headless drive with a fake clock (tests/replays/best_drive_test.cpp): here the frames
# come at the machine's pace, so seconds are not compared.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

mkdir -p "$XDG_CONFIG_HOME/quonfel"
printf 'key faster-0.4 = E\nkey brake-0.7 = W\n' >"$XDG_CONFIG_HOME/quonfel/quonfel.conf"
FASTER_KEY=E  # the approach; the creep into the goal box presses W
PAUSE_SECONDS=5

course_view() { import -window root -crop 384x384+6+6 "$WORK/$1"; }  # to see the bus move
same_pictures() { [[ $(compare -metric AE "$WORK/$1" "$WORK/$2" null: 2>&1 | cut -d' ' -f1) == 0 ]]; }

# The course view stands still under the label: yellow writing on a black box above the bus.
while_paused() {
    sleep 1
    expect_pixel 145 85 000000 "the pause label's box"
    shoot paused.png
    region_has_colour paused.png 150 90 96 24 FFFF00 || fail "no writing on the pause label"
    sleep 2
    shoot paused-later.png
    same_pictures paused.png paused-later.png || fail "the picture moved while paused"
    sleep "$(awk "BEGIN { left = $PAUSE_SECONDS - ($(date +%s.%N) - $PAUSE_BEGAN); print (left > 0 ? left : 0) }")"
}

open_straight_course_menu
grep -qx "quonfel: $XDG_CONFIG_HOME/quonfel/quonfel.conf line 2: W is already the key of faster-0.4" "$WORK/game.log" ||
    fail "W for brake-0.7 was not refused by name: $(cat "$WORK/game.log")"
press Return
expect_pixel 600 300 004000 "driving screen"
course_view standing.png
press Up E
sleep 0.5
course_view rolling.png
! same_pictures standing.png rolling.png || fail "E did not set the bus moving"
press Q
sleep 0.5
drive_from_start_into_goal
BEST=$WORK/game/best-0.keys
[[ $(sed -n 's/^penalty //p' "$BEST") == 0 ]] || fail "the paused drive has a penalty"
grep -Eq '^[0-9]+ P$' "$BEST" && fail "the pause key was recorded"
grep -Eq '^[0-9]+ E$' "$BEST" && fail "the recorded drive holds E, not the action it stands for"
[[ $(grep -Ec '^[0-9]+ W$' "$BEST") -ge $((1 + APPROACH_SPEED_KEYS)) ]] ||
    fail "the recorded drive lacks the W of each E: $(cat "$BEST")"
press Escape
expect_exit 0

start_program "$WORK/game" ./quonfel --watch best-0.keys
focus_game
wait_for 120 showing goalin.bmp || fail "the recorded drive did not reach its goal"
press Return
expect_exit 0
