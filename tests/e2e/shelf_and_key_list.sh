#!/usr/bin/env bash
# The shelf in the real game: --map drives the course at once and puts it in courses/; at the
# next start the course menu's last row opens the shelf although course 10 is not finished,
# with its bar on the course, and Esc goes back to the course menu's last row. The window
# carries the game's icon; F1 shows the keys of the screen over it, and F1 or Esc closes the
# list without leaving the screen (Esc then quits as always).
source "$(dirname "$0")/e2e_common.bash"

FRAME=C0C0C0  # the key list's border
PAPER=182030  # and its paper
TITLE=FFFF00  # its title

start_xvfb
copy_game
cp "$WORK/game/0.map" "$WORK/mine.map"
start_program "$WORK/game" ./quonfel --map "$WORK/mine.map"
# xprop draws the icon in characters: its size first, then rows that are not all blank.
xprop -id "$GAME_WINDOW" _NET_WM_ICON >"$WORK/icon"
grep -q "Icon (64 x 64):" "$WORK/icon" && grep -q "[░▒▓█]" "$WORK/icon" || fail "the window's icon: $(head -c 200 "$WORK/icon")"
focus_game
expect_pixel 600 300 004000 "driving screen of --map"
# The list stands over the drive; Esc takes it away and the drive goes on.
press F1
expect_pixel 18 40 $PAPER "the key list while driving"
press Escape
expect_pixel_gone 18 40 $PAPER "Esc on the key list"
kill -0 "$GAME_PID" || fail "Esc on the key list ended the game"
press Escape
expect_exit 0
cmp -s "$WORK/mine.map" "$WORK/game/courses/mine.map" || fail "--map did not put the course on the shelf"

open_course_menu
# The course menu's list: 11 lines, 244 pixels high, centred.
press F1
expect_pixel 16 120 $FRAME "the key list's border"
expect_pixel 18 120 $PAPER "the key list's paper"
expect_region_colour 28 130 200 16 $TITLE "the key list has no title"
press F1
expect_pixel_gone 18 120 $PAPER "F1 again"
expect_pixel 480 110 FF0000 "the course menu after the list"
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
