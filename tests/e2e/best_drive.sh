#!/usr/bin/env bash
# The best drive: a drive to the goal writes best-0.keys beside score.dat; --watch-best 0
# plays it in the window to the result screen, deaf to the player's driving keys and writing
# nothing, and Enter then leads to the course menu; --watch of a file ends the game on Enter.
# A key file that is damaged or belongs to another course is refused with one line and
# status 2, without a display. A worse second drive leaves best-0.keys as it was.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

# Runs the game without a display in its folder; its status in STATUS, stderr in $WORK/err.
quonfel_without_display() {
    STATUS=0
    (cd "$WORK/game" && env -u DISPLAY -u WAYLAND_DISPLAY ./quonfel "$@") >"$WORK/out" 2>"$WORK/err" || STATUS=$?
}

# Refused: status 2 and exactly one line on stderr that says $2.
expect_refusal() {
    local keys=$1 says=$2
    quonfel_without_display --watch "$keys"
    [[ $STATUS == 2 ]] || fail "--watch $keys: status $STATUS, expected 2"
    [[ $(wc -l <"$WORK/err") == 1 ]] && grep -q "^quonfel: .*$says" "$WORK/err" ||
        fail "--watch $keys said '$(cat "$WORK/err")', expected one line with '$says'"
}

open_straight_course_menu
drive_into_goal
BEST=$WORK/game/best-0.keys
[[ -s $BEST ]] || fail "best-0.keys was not written at the goal"
grep -qx "course 0" "$BEST" && grep -qx "bus 0" "$BEST" && grep -Eqx "course-hash [0-9a-f]{16}" "$BEST" &&
    grep -Eqx "score [0-9]+" "$BEST" || fail "best-0.keys lacks its header: $(head -8 "$BEST")"
press Escape
expect_exit 0
cp "$BEST" "$WORK/best.kept"
cp "$WORK/game/score.dat" "$WORK/score.kept"
ls "$WORK/game" >"$WORK/files.kept"

# Damaged key files and drives of another course are refused before any window.
{ cat "$BEST"; echo "9999 Jump"; } >"$WORK/game/damaged.keys"
expect_refusal damaged.keys "damaged.keys: line $(($(wc -l <"$BEST") + 1)): expected a frame number and a key name"
sed 's/^course-hash .*/course-hash 0123456789abcdef/' "$BEST" >"$WORK/game/other.keys"
expect_refusal other.keys "other.keys: driven on another course than 0.map"
rm "$WORK/game/damaged.keys" "$WORK/game/other.keys"

# Watching the best drive: the player's W does nothing, the drive reaches its goal.
start_program "$WORK/game" ./quonfel --watch-best 0
focus_game
expect_pixel 600 300 004000 "the driving screen"
press w w w
wait_for 120 showing goalin.bmp || fail "the watched drive did not end on the result screen"
shoot watched-result.png
grep -q "^recorded drive: driving [0-9]* s, penalty [0-9]* s, score [0-9]* s$" "$WORK/game.log" &&
    grep -q "^this replay: *driving [0-9]* s, penalty [0-9]* s, score [0-9]* s$" "$WORK/game.log" ||
    fail "the times were not printed: $(cat "$WORK/game.log")"
press Return
expect_pixel 480 110 FF0000 "the course menu after watching"
press Escape
expect_exit 0
cmp -s "$BEST" "$WORK/best.kept" && cmp -s "$WORK/game/score.dat" "$WORK/score.kept" &&
    diff -q <(ls "$WORK/game") "$WORK/files.kept" >/dev/null || fail "watching wrote to the game folder"

# Watching a file ends the game on Enter.
start_program "$WORK/game" ./quonfel --watch best-0.keys
focus_game
expect_pixel 600 300 004000 "the driving screen"
press Return
expect_exit 0
grep -q "stopped before the drive ended" "$WORK/game.log" || fail "no word of the stop: $(cat "$WORK/game.log")"

# A worse drive: the stopwatch runs for six seconds before the bus moves.
open_course_menu
drive_into_goal 6 cleared
press Escape
expect_exit 0
cmp -s "$BEST" "$WORK/best.kept" || fail "a worse drive changed best-0.keys"
echo "ok"
