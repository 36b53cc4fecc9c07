# Shared steps of the end-to-end tests: a private X server, a fresh copy of the game folder,
# the game window, keys, screenshots and the exit status. Sourced by the *.sh tests.
set -euo pipefail

GAME_DIR=$(cd "$1" && pwd)
BUILD_DIR=$2
WORK=$(mktemp -d /tmp/quonfel-e2e-XXXXXX)
# The player's own preferences stay out of the tests, and the tests out of them.
export XDG_CONFIG_HOME=$WORK/config
XVFB_PID=
GAME_PID=
GAME_WINDOW=
export GSETTINGS_BACKEND=memory

fail() {
    echo "FAIL: $*" >&2
    if [[ -f $WORK/game.log ]]; then
        echo "--- game output" >&2
        cat "$WORK/game.log" >&2
    fi
    exit 1
}

# cmake --install and cpack write the build folder's install_manifest.txt, the list a player
# may uninstall with: a test that installs calls keep_install_manifest first, and the player's
# list (or its absence) is put back when the test ends.
MANIFEST=
keep_install_manifest() {
    MANIFEST=$BUILD_DIR/install_manifest.txt
    if [[ -f $MANIFEST ]]; then cp -p "$MANIFEST" "$WORK/install_manifest.kept"; fi
}

restore_install_manifest() {
    [[ -n $MANIFEST ]] || return 0
    if [[ -f $WORK/install_manifest.kept ]]; then
        cp -p "$WORK/install_manifest.kept" "$MANIFEST"
    else
        rm -f "$MANIFEST"
    fi
}

cleanup() {
    [[ -n $GAME_PID ]] && kill "$GAME_PID" 2>/dev/null || true
    # Dialog processes the game started die with the X server.
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
    [[ -n $XVFB_PID ]] && wait "$XVFB_PID" 2>/dev/null || true
    restore_install_manifest
    rm -rf "$WORK"
}
trap cleanup EXIT

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private-xvfb.bash"

start_xvfb() {
    start_private_xvfb 1280x1024x24 "$WORK/xvfb.log" || fail "no X server could be started: $(cat "$WORK/xvfb.log")"
}

# Stops our own X server; the game's display goes away with it.
stop_xvfb() {
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# A fresh copy of the game folder (so score.dat starts absent).
copy_game() {
    rm -rf "$WORK/game"
    cp -r "$GAME_DIR/." "$WORK/game"
    rm -f "$WORK/game/score.dat"
}

# Runs the game with these options in its copy of the folder (made fresh unless copy_game
# was called first).
start_game() {
    [[ -d $WORK/game ]] || copy_game
    start_program "$WORK/game" ./quonfel "$@"
}

# The game started with these options, focused, on its course menu.
open_course_menu() {
    start_game "$@"
    focus_game
    expect_pixel 480 110 FF0000 "course menu"
}

# Runs a command that starts the game (its arguments after the folder to run it in) and
# waits for the game window.
start_program() {
    local folder=$1
    shift
    (cd "$folder" && exec "$@" >"$WORK/game.log" 2>&1) &
    GAME_PID=$!
    GAME_WINDOW=$(timeout 20 xdotool search --sync --class 'Quonfel\.exe' | head -n 1) ||
        fail "the game window did not appear"
    [[ -n $GAME_WINDOW ]] || fail "the game window did not appear"
}

focus_game() {
    xdotool windowfocus --sync "$GAME_WINDOW"
}

# Sends keys (xdotool names) to the focused game window, one after the other.
press() {
    local key
    for key in "$@"; do
        xdotool key --delay 30 "$key"
        sleep 0.05
    done
}

# Ctrl-drags from x y in n equal steps of dx dy, sent back to back. While the window follows,
# the pointer keeps its place in the window at every step.
ctrl_drag_steps() {
    local x=$1 y=$2 dx=$3 dy=$4 n=$5 i moves=()
    for ((i = 1; i <= n; i++)); do moves+=(mousemove $((x + i * dx)) $((y + i * dy))); done
    xdotool mousemove "$x" "$y"
    xdotool keydown ctrl mousedown 1
    xdotool "${moves[@]}"
    xdotool mouseup 1 keyup ctrl
}

window_field() {
    xwininfo -id "$GAME_WINDOW" | sed -n "s/^ *$1: *//p"
}

window_is_at() {
    [[ $(window_field Width) == "$3" && $(window_field Height) == "$4" &&
        $(window_field "Absolute upper-left X") == "$1" && $(window_field "Absolute upper-left Y") == "$2" ]]
}

# The game window: its title, its size (640x480 unless given), at x y (moves reach the X
# server a moment later).
check_window_at() {
    local title width=${3:-640} height=${4:-480}
    title=$(xdotool getwindowname "$GAME_WINDOW")
    [[ $title == "Ｑｕｏｎｆｅｌ" ]] || fail "window title is '$title'"
    wait_for 15 window_is_at "$1" "$2" "$width" "$height" ||
        fail "window is $(window_field Width)x$(window_field Height) at $(window_field 'Absolute upper-left X'),$(window_field 'Absolute upper-left Y'), not ${width}x$height at $1,$2"
}

# Screenshot of the whole screen into $WORK/$1.
shoot() {
    import -window root "$WORK/$1"
}

# The colour of a screenshot pixel as RRGGBB.
pixel() {
    convert "$WORK/$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}

# Whether a rectangle (x y width height) of a screenshot holds the colour RRGGBB.
# The list is read whole before it is searched: grep -q stops at the first match, and under
# pipefail the convert still writing into the closed pipe would fail the check.
region_has_colour() {
    local colours
    colours=$(convert "$WORK/$1" -crop "$4x$5+$2+$3" -depth 8 -unique-colors txt:-) && grep -qi "#$6" <<<"$colours"
}

screen_pixel_is() {
    shoot screen.png && [[ $(pixel screen.png "$1" "$2") == "$3" ]]
}

screen_pixel_is_not() {
    shoot screen.png && [[ $(pixel screen.png "$1" "$2") != "$3" ]]
}

screen_region_has() {
    shoot screen.png && region_has_colour screen.png "$@"
}

# Screen checks wait up to 10 seconds for the frame that shows what the keys did.
expect_pixel() {
    wait_for 30 screen_pixel_is "$1" "$2" "$3" ||
        fail "${4:-screen}: pixel $1,$2 is $(pixel screen.png "$1" "$2"), expected $3"
}

expect_pixel_gone() {
    wait_for 30 screen_pixel_is_not "$1" "$2" "$3" || fail "${4:-screen}: pixel $1,$2 stays $3"
}

expect_region_colour() {
    wait_for 30 screen_region_has "$1" "$2" "$3" "$4" "$5" || fail "$6"
}

# The minimap's slot of course cell (x, y): its middle pixel, where a ghost's dot is white.
dot_x() { echo $((418 + 10 * $1)); }
dot_y() { echo $((194 + 10 * $1)); }

# Waits for the game to end and checks its exit status.
expect_exit() {
    local want=$1 status=0
    wait_for 30 bash -c "! kill -0 $GAME_PID" || fail "the game did not end"
    wait "$GAME_PID" || status=$?
    GAME_PID=
    [[ $status == "$want" ]] || fail "exit status $status, expected $want"
}

# Pixels of the window that differ from a 640x480 picture of the game folder.
differing_pixels() {
    import -window "$GAME_WINDOW" "$WORK/now.png"
    compare -metric AE "$WORK/now.png" "$WORK/game/$1" null: 2>&1 | cut -d' ' -f1 || true
}

# A result screen is its picture with three times drawn on it.
showing() {
    local differ
    differ=$(differing_pixels "$1")
    [[ $differ =~ ^[0-9.e+]+$ ]] && (($(printf '%.0f' "$differ") < 640 * 480 / 10))
}

# Waits for a window with this exact title (a dialog) and prints its id.
wait_for_window_named() {
    local name=$1 id
    id=$(timeout 30 xdotool search --sync --name "^$name\$" | head -n 1) || fail "no window named '$name'"
    [[ -n $id ]] || fail "no window named '$name'"
    echo "$id"
}
