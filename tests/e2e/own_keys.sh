#!/usr/bin/env bash
# The player's own keys: with "key faster-0.4 = E" in the preferences file E drives the bus
# as W does, W still works, and the recorded drive holds W for each E. A key the game uses
# for something else is refused with one line, and the rest applies.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

mkdir -p "$XDG_CONFIG_HOME/quonfel"
printf 'key faster-0.4 = E\nkey brake-0.7 = W\n' >"$XDG_CONFIG_HOME/quonfel/quonfel.conf"
FASTER_KEY=E  # the approach; the creep into the goal box presses W

course_view() { import -window root -crop 384x384+6+6 "$WORK/$1"; }  # to see the bus move

open_straight_course_menu
grep -qx "quonfel: $XDG_CONFIG_HOME/quonfel/quonfel.conf line 2: W is already the key of faster-0.4" "$WORK/game.log" ||
    fail "W for brake-0.7 was not refused by name: $(cat "$WORK/game.log")"
press Return
expect_pixel 600 300 004000 "driving screen"
course_view standing.png
press Up E
sleep 0.5
course_view rolling.png
[[ $(compare -metric AE "$WORK/standing.png" "$WORK/rolling.png" null: 2>&1 | cut -d' ' -f1) != 0 ]] ||
    fail "E did not set the bus moving"
press Q
sleep 0.5
drive_from_start_into_goal
BEST=$WORK/game/best-0.keys
grep -Eq '^[0-9]+ E$' "$BEST" && fail "the recorded drive holds E, not the action it stands for"
[[ $(grep -Ec '^[0-9]+ W$' "$BEST") -ge $((1 + APPROACH_SPEED_KEYS)) ]] ||
    fail "the recorded drive lacks the W of each E: $(cat "$BEST")"
press Escape
expect_exit 0
