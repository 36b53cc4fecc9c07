#!/usr/bin/env bash
# Racing the best drive: a drive to the goal with --ghost (no best drive yet, so no ghost and
# one line that says so) leaves best-0.keys; the next drive has that drive's bus beside it, a white
# dot on the minimap that moves on into the goal and stays there, and the difference in the
# corner of the course view: 0.0 (green) at the start, then + (red) once the player reaches a
# tile the ghost reached first. G hides all of it and shows it again. A watched drive races a
# --ghost-file; one of another version of the course is refused.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

DOT_Y=$(dot_y 1)  # the straight course's row
WHITE=FFFFFF
# The difference's box in the top right corner of the course view.
difference_has() { expect_region_colour 330 14 54 26 "$1" "$2"; }
# The game with options, into a drive of the cleared practice course.
drive_again() {
    open_course_menu "$@"
    press Return
    wait_for 30 bus_menu_shown || fail "the bus menu did not come"
    press Return
    expect_pixel 600 300 004000 "driving screen"
}

open_straight_course_menu --ghost
drive_into_goal
press Escape
expect_exit 0
[[ -s $WORK/game/best-0.keys ]] || fail "best-0.keys was not written at the goal"
# No ghost to race is said once, on stderr as over the course view.
[[ $(cat "$WORK/game.log") == "quonfel: no ghost: no best drive of course 0 yet" ]] ||
    fail "a drive without a best drive said: $(cat "$WORK/game.log")"
cp "$WORK/game/best-0.keys" "$WORK/best.kept"

# The race: the player stands while the ghost drives off, then follows.
drive_again --ghost
difference_has 00FF00 "no 0.0 at the start"
expect_pixel "$(dot_x 1)" $DOT_Y $WHITE "the ghost one tile on, on the minimap"
press Up W W W W W
expect_pixel "$(dot_x 2)" $DOT_Y $WHITE "the ghost two tiles on"
difference_has FF4040 "no + once the player reached the ghost's first tile"
expect_pixel "$(dot_x 3)" $DOT_Y $WHITE "the ghost in the goal"
press Q Q Q Q Q g
expect_pixel_gone "$(dot_x 3)" $DOT_Y $WHITE "G did not hide the ghost"
press g
expect_pixel "$(dot_x 3)" $DOT_Y $WHITE "the ghost did not stay in the goal, or G did not show it again"
press Escape
expect_exit 0
cmp -s "$WORK/game/best-0.keys" "$WORK/best.kept" || fail "racing an unfinished drive changed best-0.keys"

# Watching races too: the best drive against a copy of itself.
cp "$WORK/best.kept" "$WORK/game/race.keys"
start_program "$WORK/game" ./quonfel --watch-best 0 --ghost-file race.keys
focus_game
expect_pixel "$(dot_x 1)" $DOT_Y $WHITE "no ghost beside the watched drive"
press Escape
expect_exit 0

# A drive of another version of the course named with --ghost-file is refused before any window.
sed -i 's/^course-hash .*/course-hash 0123456789abcdef/' "$WORK/game/best-0.keys"
status=0
(cd "$WORK/game" && env -u DISPLAY ./quonfel --ghost-file best-0.keys) >/dev/null 2>"$WORK/err" || status=$?
[[ $status == 2 && $(wc -l <"$WORK/err") == 1 ]] && grep -q "^quonfel: best-0.keys: driven on another course" "$WORK/err" ||
    fail "--ghost-file of another course: status $status, said '$(cat "$WORK/err")'"
echo "ok"
