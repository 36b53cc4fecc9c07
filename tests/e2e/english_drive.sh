#!/usr/bin/env bash
# The game in English, chosen in the preferences file: the window title, the course menu and
# the result screen show the English pictures where the Japanese ones would be, and the
# practice course is driven into the goal as in Japanese.
source "$(dirname "$0")/e2e_common.bash"
source "$(dirname "$0")/goal_drive.bash"

# Whether a region (x y width height) of the window is, pixel for pixel, that of a picture of
# the game folder.
window_region_is() {
    local picture=$1 area="$4x$5+$2+$3"
    import -window "$GAME_WINDOW" "$WORK/now.png"
    [[ $(compare -metric AE "$WORK/now.png[$area]" "$WORK/game/$picture[$area]" null: 2>&1) == 0 ]]
}

expect_region_of() {
    wait_for 30 window_region_is "$@" || fail "the window does not show $1 at $2,$3 (${4}x$5)"
}

mkdir -p "$XDG_CONFIG_HOME/quonfel"
echo "lang = en" >"$XDG_CONFIG_HOME/quonfel/quonfel.conf"
open_straight_course_menu
[[ $(xdotool getwindowname "$GAME_WINDOW") == Quonfel ]] || fail "window title is '$(xdotool getwindowname "$GAME_WINDOW")'"
# The course menu's header and its key help bar.
expect_region_of en/menu1.bmp 0 0 640 64
expect_region_of en/menu1.bmp 0 432 640 48

RESULT_PICTURES=en/
drive_into_goal
# The title and the line above the times.
expect_region_of en/goalin.bmp 0 32 640 112

press Return
expect_region_colour 50 100 96 16 FFFF00 "the practice course is not shown as cleared"
focus_game
press Escape
expect_exit 0
echo "ok"
