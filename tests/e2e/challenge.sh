#!/usr/bin/env bash
# A challenge from one player to another: in the first player's folder the map tool drives a
# course of their own and shares it with that drive as one file; the second player opens it
# with --challenge in a folder of their own. The course lands on their shelf, the drive starts
# at once and the challenger's bus runs as the ghost (its white dot goes on into the goal on
# the minimap). Damaged files are refused in one line before any window, leaving no shelf.
source "$(dirname "$0")/e2e_common.bash"

# Runs the game without a display in a fresh folder; prints its status, then what it said.
refusal_of() {
    rm -rf "$WORK/fresh" && mkdir "$WORK/fresh"
    local status=0
    (cd "$WORK/fresh" && env -u DISPLAY "$WORK/game/quonfel" --challenge "$1") >/dev/null 2>"$WORK/err" || status=$?
    [[ -e $WORK/fresh/courses ]] && fail "a refused challenge ($1) made a shelf"
    echo "$status $(wc -l <"$WORK/err") $(cat "$WORK/err")"
}

start_xvfb
copy_game
mkdir "$WORK/first" "$WORK/second"
cp -r "$WORK/game/." "$WORK/second"

# The first player: a course, a drive of it by the map tool's driver, one file of both.
printf '# name: Small loop\n/= == == =\\\n|| .. .. ||\n\\= S> G> =/\n' >"$WORK/first/loop.txt"
"$WORK/game/quonfel-map" build "$WORK/first/loop.txt" "$WORK/first/loop.map" || fail "the loop does not build"
"$WORK/game/quonfel-map" drive "$WORK/first/loop.txt" --keys "$WORK/first/best.keys" >/dev/null ||
    fail "the map tool's driver missed the goal"
"$WORK/game/quonfel-map" share "$WORK/first/loop.txt" "$WORK/first/best.keys" "$WORK/first/Loop.quonfel-challenge" >/dev/null ||
    fail "share refused the course and its drive"
head -n 2 "$WORK/first/Loop.quonfel-challenge" | cmp -s - <(printf "quonfel-challenge 1\nname Small loop\n") || fail "no challenge magic"

# The second player opens it: the drive starts at once, and the ghost drives into the goal.
start_program "$WORK/second" ./quonfel --challenge "$WORK/first/Loop.quonfel-challenge"
focus_game
expect_pixel 600 300 004000 "driving screen at once"
expect_pixel "$(dot_x 2)" "$(dot_y 2)" FFFFFF "the challenger's ghost in the goal"
press Escape
expect_exit 0
cmp -s "$WORK/second/courses/Small loop.map" "$WORK/first/loop.map" || fail "the course is not on the shelf"
[[ ! -e $WORK/second/best-11.keys ]] || fail "the challenger's drive became the player's own"

# Opened again, the course on the shelf is taken as it is: no second copy.
start_program "$WORK/second" ./quonfel "$WORK/first/Loop.quonfel-challenge"
focus_game
expect_pixel 600 300 004000 "driving screen from the file alone"
press Escape
expect_exit 0
[[ $(ls "$WORK/second/courses") == "Small loop.map" ]] || fail "the shelf holds $(ls "$WORK/second/courses")"

# Damaged, of another course, a pipe, gigabytes: one line each, status 2.
challenge=$WORK/first/Loop.quonfel-challenge
head -c 100 "$challenge" >"$WORK/short.quonfel-challenge"
sed 's/^course-hash .*/course-hash 0123456789abcdef/' "$challenge" >"$WORK/other.quonfel-challenge"
mkfifo "$WORK/pipe.quonfel-challenge"
truncate -s 4G "$WORK/huge.quonfel-challenge"
for case in "short:truncated: the map file is" "other:the drive was driven on another course" \
    "pipe:not a regular file" "huge:larger than a challenge file can be (17 MB)"; do
    file=$WORK/${case%%:*}.quonfel-challenge
    said=$(refusal_of "$file")
    [[ $said == "2 1 quonfel: $file: ${case#*:}"* ]] || fail "${case%%:*}: $said"
done
echo "ok"
