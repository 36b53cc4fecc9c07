# A drive to the goal with real keys on a straight practice course, shared by the tests that
# need one. Sourced after e2e_common.bash.
#
# Frames come at most 30 times a second but may come slower on a busy machine, so the drive
# never relies on a frame count: it drives short of the goal, then creeps on, stopping and
# shifting into neutral (which tries the goal) until the result screen appears. This works on
# a course whose start faces its goal along one straight road, so the tests put such a course
# in place of the practice course in their copy of the game folder. (Every shipped course is
# driven to its goal by the recorded drives that the replay tests run frame by frame.)

TILE=128
# Bus type 0: 101 pixels long with its middle placed at the start tile's centre, so it stands
# wholly inside a tile when it has come n tiles, give or take 13 pixels.
BUS_SLACK=13
APPROACH_SPEED_KEYS=5  # W five times: 2.0 pixels a frame
APPROACH_SPEED_TENTHS=20
# Where the result pictures of the game's language are, within the game folder.
RESULT_PICTURES=${RESULT_PICTURES:-}

# The values of a map file as decimal numbers, one a line (text mode: 0D 0A is one 0A).
map_values() {
    perl -0777 -pe 's/\r\n/\n/g' "$1" | od -An -v -t d4 -w4 | tr -d ' '
}

# Sets START_CODE, GOAL_TILES (the distance in tiles) from the practice course, or fails.
read_practice_course() {
    mapfile -t values < <(map_values "$WORK/game/0.map")
    local version=${values[0]} ycount=${values[2]} bias=0
    [[ $version == 2 ]] && bias=64
    local i code x y sx= sy= gx= gy= gcode=
    for ((i = 3; i < ${#values[@]}; i++)); do
        code=$((values[i] - bias))
        x=$(((i - 3) / ycount))
        y=$(((i - 3) % ycount))
        if ((code >= 16 && code <= 19)); then sx=$x sy=$y START_CODE=$code; fi
        if ((code >= 20 && code <= 23)); then gx=$x gy=$y gcode=$code; fi
    done
    [[ -n $sx && -n $gx ]] || fail "the practice course has no start or no goal"
    local want
    case $START_CODE in
    16) ((sy == gy && gx < sx)) && GOAL_TILES=$((sx - gx)) want=20 ;;
    17) ((sy == gy && gx > sx)) && GOAL_TILES=$((gx - sx)) want=21 ;;
    18) ((sx == gx && gy < sy)) && GOAL_TILES=$((sy - gy)) want=22 ;;
    19) ((sx == gx && gy > sy)) && GOAL_TILES=$((gy - sy)) want=23 ;;
    esac
    [[ -n ${GOAL_TILES:-} && $gcode == "$want" ]] ||
        fail "the practice course does not lead straight from its start (code $START_CODE at $sx,$sy) into its goal (code $gcode at $gx,$gy)"
}

# A straight practice course, 5 by 3 tiles: start facing right, two straights, the goal, and
# one more straight beyond it.
write_straight_course() {
    perl -e 'my @g = ((0,17,0),(0,1,0),(0,1,0),(0,21,0),(0,1,0));
             print pack("l<*", 3, 5, 3, @g)' >"$WORK/game/0.map"
}

# A game with these options on a fresh copy of the folder with the straight practice course,
# focused, on its course menu.
open_straight_course_menu() {
    start_xvfb
    copy_game
    write_straight_course
    read_practice_course
    open_course_menu "$@"
}

# The bus menu: its first row highlighted, and the course menu's longer bar gone.
bus_menu_shown() {
    screen_pixel_is 300 106 FF0000 && screen_pixel_is_not 480 110 FF0000
}

# From the course menu (cursor on the practice course) into the goal; a cleared course
# ($2 = cleared) first shows the bus menu, where Enter takes the standard bus. The stopwatch
# starts with the first key (Up); $1 more seconds (default 0) pass before the bus moves.
drive_into_goal() {
    press Return
    if [[ ${2:-} == cleared ]]; then
        wait_for 30 bus_menu_shown || fail "the bus menu did not come"
        press Return
    fi
    drive_from_start_into_goal "${1:-0}"
}

# From the first driving frame on: the bus goes GOAL_TILES tiles straight on and stops in the
# goal, $1 seconds (default 0) after the stopwatch started. FASTER_KEY (default W) speeds the
# bus up for the approach. A test that defines while_paused has the drive paused with P
# halfway along the approach, while it runs. DRIVE_STARTED, PAUSE_BEGAN and PAUSE_ENDED are
# when the stopwatch's first key and the two P went (seconds since 1970).
drive_from_start_into_goal() {
    # Keys before the first driving frame would be undone by the placement of the bus; the
    # minimap's green shows the driving screen.
    expect_pixel 600 300 004000 "driving screen"
    press Up
    DRIVE_STARTED=$(date +%s.%N)
    sleep "${1:-0}"
    local i
    for ((i = 0; i < APPROACH_SPEED_KEYS; i++)); do press "${FASTER_KEY:-W}"; done
    # Short of the goal even at the full 30 frames a second.
    local approach=$((GOAL_TILES * TILE - BUS_SLACK - 30))
    local half
    half=$(awk "BEGIN { printf \"%.3f\", $approach * 5 / ($APPROACH_SPEED_TENTHS * 30) }")
    sleep "$half"
    if declare -F while_paused >/dev/null; then
        press p
        PAUSE_BEGAN=$(date +%s.%N) && while_paused && PAUSE_ENDED=$(date +%s.%N)
        press p
    fi
    sleep "$half"
    press Q Q Q

    # On a busy machine frames come slower and each creep covers less ground, so allow plenty.
    local deadline=$((SECONDS + 120))
    while ((SECONDS < deadline)); do
        press Down  # neutral: tries the goal
        sleep 0.15
        showing "${RESULT_PICTURES}goalin.bmp" && return 0
        showing "${RESULT_PICTURES}discontinue.bmp" && fail "the drive ended as discontinued"
        press Up W W
        sleep 0.3
        press Q Q
    done
    fail "the goal was not reached"
}
