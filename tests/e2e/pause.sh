#!/usr/bin/env bash
# A drive paused for five seconds shows its label over the still course view and keeps the
# times it would have had without the pause (first key to goal, less the pause); its recorded
# drive replays with the same times.
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
GOAL_SEEN=$(date +%s.%N)
BEST=$WORK/game/best-0.keys
DRIVING=$(sed -n 's/^driving //p' "$BEST")
PENALTY=$(sed -n 's/^penalty //p' "$BEST")
# The goal is seen up to a second or so after it happens.
read -r LOW HIGH < <(awk "BEGIN { t = $GOAL_SEEN - $DRIVE_STARTED - ($PAUSE_ENDED - $PAUSE_BEGAN);
                                   print int(t - 2.5), int(t + 1) }")
((DRIVING >= LOW && DRIVING <= HIGH)) && [[ $PENALTY == 0 ]] ||
    fail "the paused drive took $DRIVING s with $PENALTY s penalty; without the pause it drove $LOW to $HIGH s"
grep -Eq '^[0-9]+ P$' "$BEST" && fail "the pause key was recorded"
press Escape
expect_exit 0

start_program "$WORK/game" ./quonfel --watch best-0.keys
focus_game
wait_for 120 showing goalin.bmp || fail "the recorded drive did not reach its goal"
press Return
expect_exit 0
REPLAYED=$(sed -n 's/^this replay: *driving \([0-9]*\) s, penalty \([0-9]*\) s.*/\1 \2/p' "$WORK/game.log")
read -r REPLAY_DRIVING REPLAY_PENALTY <<<"$REPLAYED"
# Within a second at 30 frames a second; a busy machine's slower frames may add one or two
# more, a pause kept in the file five.
[[ -n $REPLAYED ]] && ((REPLAY_DRIVING - DRIVING <= 3 && DRIVING - REPLAY_DRIVING <= 3)) &&
    [[ $REPLAY_PENALTY == 0 ]] || fail "the replay drove '$REPLAYED', the drive $DRIVING s"
