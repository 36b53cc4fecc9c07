#!/usr/bin/env bash
# The course editor from end to end: a new course painted by mouse and keys (the checker's
# marks on the way), saved as the text and the map file build makes of it, test-driven into
# the goal, then played in the game with --map and driven into its goal there; closing with
# unsaved changes asks first.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

ZOOM=64
MARGIN=8
PROBLEM_MARK=FF28C8
NO_PROBLEMS_INK=5AE65A
BUS_BODY=FFE600

# Window points of a cell's middle and of a palette entry (the editor window is at 0,0).
cell_x() { echo $((MARGIN + $1 * ZOOM + ZOOM / 2)); }
cell_y() { echo $((MARGIN + $1 * ZOOM + ZOOM / 2)); }
click_palette() {
    xdotool mousemove $((748 + ($1 % 2) * 104 + 16)) $((22 + ($1 / 2) * 36 + 18)) click 1
}
# Drags with a button (1 left, 3 right) over a row of cells, from column $3 to $4 in row $2.
drag_row() {
    xdotool mousemove "$(cell_x "$3")" "$(cell_y "$2")" mousedown "$1"
    xdotool mousemove "$(cell_x "$4")" "$(cell_y "$2")" mouseup "$1"
}
editor_says() { grep -q "$1" "$WORK/editor.log"; }
# Opens a course file in the editor, focused: EDITOR_PID is its process, EDITOR its window.
# (--all: without it xdotool takes a window of either the process or the class, which can
# be a closed editor's while the server has not yet let it go)
open_editor() {
    (cd "$WORK/game" && exec ./quonfel-map edit "$1" >"$WORK/editor.log" 2>&1) &
    EDITOR_PID=$!
    EDITOR=$(timeout 20 xdotool search --sync --all --pid "$EDITOR_PID" --class 'quonfel-map' | head -n 1) ||
        fail "no editor window for $1: $(cat "$WORK/editor.log")"
    xdotool windowfocus --sync "$EDITOR"
}

start_xvfb
copy_game
open_editor "$WORK/my.txt"

# 6 by 2 cells: the new course's 10 by 8 shrunk from the right and the bottom.
press ctrl+shift+Right ctrl+shift+Right ctrl+shift+Right ctrl+shift+Right
press ctrl+shift+Down ctrl+shift+Down ctrl+shift+Down ctrl+shift+Down ctrl+shift+Down ctrl+shift+Down
# The mouse lays the bottom row one cell too far, the right button takes that one back, and
# the left column's curves come from the palette.
click_palette 1
drag_row 1 1 1 5
drag_row 3 1 5 5
expect_region_colour 0 0 744 200 $PROBLEM_MARK "the checker marked no cell of the half-made course"
shoot editor-marks.png
click_palette 7
xdotool mousemove "$(cell_x 0)" "$(cell_y 0)" click 1
click_palette 10
xdotool mousemove "$(cell_x 0)" "$(cell_y 1)" click 1
# The keys lay the top row from the cursor (now on the bottom curve) and the right side:
# start, straight, goal, straight, the two right curves.
press Up Right 8 8 space Right 1 space Right 9 9 space Right 1 space Right 4 space Down 5 space
expect_region_colour 0 630 960 20 $NO_PROBLEMS_INK "the checker still finds a problem"

press ctrl+s
wait_for 10 test -s "$WORK/my.map" || fail "Ctrl+S wrote no map file"
grep -qx '/= S> == G> == =\\' "$WORK/my.txt" && grep -qx '\\= == == == == =/' "$WORK/my.txt" ||
    fail "the text is not the course painted: $(cat "$WORK/my.txt")"
(cd "$WORK/game" && ./quonfel-map build "$WORK/my.txt" "$WORK/built.map") || fail "build refused the saved text"
cmp -s "$WORK/my.map" "$WORK/built.map" || fail "the saved map file is not what build makes of the text"

press t
expect_region_colour 0 0 744 200 $BUS_BODY "no bus on the course during the test drive"
shoot editor-drive.png
wait_for 60 editor_says "my.txt, bus type 0: goal after" || fail "the test drive did not reach the goal: $(cat "$WORK/editor.log")"

# Play: the game starts on the course at once, its row locked and no file dialog asked.
press p
GAME_WINDOW=$(timeout 30 xdotool search --sync --class 'Quonfel\.exe' | head -n 1) || fail "the game did not start"
editor_says "playing: .*/quonfel --map $WORK/my.map" || fail "the editor said: $(cat "$WORK/editor.log")"
focus_game
GOAL_TILES=2
drive_from_start_into_goal
grep -qx "course 11" "$WORK/game/best-11.keys" && grep -qx "map $WORK/my.map" "$WORK/game/best-11.keys" ||
    fail "the goal did not keep the drive of course 11 on my.map"
press Escape
wait_for 30 bash -c "! xdotool search --class 'Quonfel\.exe'" || fail "the game did not end"

# Another program changes the text: a save asks before it writes over that, and R reloads it.
xdotool windowfocus --sync "$EDITOR"
# (trailing blanks, which a save by the editor leaves out)
printf '# changed elsewhere\n/= S> G> =\\  \n\\= == == =/  \n' >"$WORK/my.txt"
cp "$WORK/my.txt" "$WORK/elsewhere.txt"
press Delete ctrl+s
wait_for 10 screen_region_has 0 660 960 40 FFFF00 || fail "the change made elsewhere was not asked about"
cmp -s "$WORK/my.txt" "$WORK/elsewhere.txt" || fail "Ctrl+S wrote over the change made elsewhere"
press r ctrl+s
wait_for 10 bash -c "! cmp -s '$WORK/my.txt' '$WORK/elsewhere.txt'" || fail "nothing saved after R"
grep -qx '/= S> G> =\\' "$WORK/my.txt" || fail "R did not reload the change: $(cat "$WORK/my.txt")"
grep -qx '# changed elsewhere' "$WORK/my.txt" || fail "the reloaded text lost its comment"

# Closing with a change unsaved asks; N quits without saving it.
cp "$WORK/my.txt" "$WORK/saved.txt"
press Delete Escape
wait_for 10 screen_region_has 0 660 960 40 FFFF00 || fail "closing did not ask about the unsaved change"
kill -0 "$EDITOR_PID" || fail "the editor closed without asking"
press n
wait_for 30 bash -c "! kill -0 $EDITOR_PID" || fail "N did not close the editor"
wait "$EDITOR_PID" || fail "the editor ended with status $?"
cmp -s "$WORK/my.txt" "$WORK/saved.txt" || fail "N saved the change"

# A text with two typos opens all the same, its unreadable cells marked and the file untouched.
# The keys mend them, a piece of road is copied into the gap (Shift+arrow, Ctrl+C, Ctrl+V),
# and the mouse paints nothing while a question waits.
printf '# name: Gap\n/= == =? == == =\\\n|| .. .. .. .. ||\n\\= S> G> .. ..\n' >"$WORK/gap.txt"
cp "$WORK/gap.txt" "$WORK/gap-opened.txt"
open_editor "$WORK/gap.txt"
expect_region_colour 0 0 744 200 $PROBLEM_MARK "the unreadable cells are not marked"
cmp -s "$WORK/gap.txt" "$WORK/gap-opened.txt" || fail "opening wrote the file"
press Right Right 1 space Right Right Right Down Down 5 space
press Up Up Left Left Left Left shift+Right ctrl+c Right Down Down ctrl+v
press Escape
wait_for 10 screen_region_has 0 660 960 40 FFFF00 || fail "Esc did not ask about the unsaved changes"
xdotool mousemove "$(cell_x 1)" "$(cell_y 1)" click 1
press Escape ctrl+s
MENDED='/= == == == == =\\\n|| .. .. .. .. ||\n\\= S> G> == == =/\n'
printf "# name: Gap\n$MENDED" >"$WORK/gap-mended.txt"
printf "# name: Harbour\n$MENDED" >"$WORK/gap-named.txt"
wait_for 10 cmp -s "$WORK/gap.txt" "$WORK/gap-mended.txt" || fail "the mended course is not as expected: $(cat "$WORK/gap.txt")"
(cd "$WORK/game" && ./quonfel-map build "$WORK/gap.txt" "$WORK/gap-built.map") || fail "build refused the mended text"
cmp -s "$WORK/gap.map" "$WORK/gap-built.map" || fail "the mended map file is not what build makes"

# A new name is a change to save; a question asked during a test drive outlasts its end.
press ctrl+n BackSpace BackSpace BackSpace shift+h a r b o u r Return f f f t
press alt+F4
wait_for 60 editor_says "gap.txt, bus type 0: goal" || fail "the test drive did not reach the goal: $(cat "$WORK/editor.log")"
screen_region_has 0 660 960 40 FFFF00 || fail "the end of the test drive took the question away"
press y
wait_for 30 bash -c "! kill -0 $EDITOR_PID" || fail "Y did not save and close the editor"
cmp -s "$WORK/gap.txt" "$WORK/gap-named.txt" || fail "the name was not saved: $(cat "$WORK/gap.txt")"
echo "ok"
