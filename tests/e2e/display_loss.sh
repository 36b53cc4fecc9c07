#!/usr/bin/env bash
# When its X server goes away the game ends at once: on the menu, while driving, on the
# result screen, in the popup menu and while a message box or the file dialog is open it
# ends with status 1 and one line saying the display was lost. A game that hangs never ends,
# so the wait is generous and the time it took is printed, not judged. Each round starts a
# fresh X server and game, and kills the server at a different moment.
source "$(dirname "$0")/e2e_common.bash"

LOST_LINE="quonfel: the connection to the display was lost"

# Kills our X server after $1 seconds and checks how the game ends ($2 names the round).
lose_display_after() {
    sleep "$1"
    stop_xvfb
    local tenths=0 status=0
    while kill -0 "$GAME_PID" 2>/dev/null; do
        ((tenths < 100)) || fail "$2: the game still runs 10 s after its display was lost"
        sleep 0.1
        tenths=$((tenths + 1))
    done
    wait "$GAME_PID" || status=$?
    GAME_PID=
    [[ $status == 1 ]] || fail "$2: exit status $status, expected 1"
    [[ $(cat "$WORK/game.log") == "$LOST_LINE" ]] || fail "$2: the game did not say the display was lost"
    echo "$2: ended with status 1 within $tenths tenths of a second"
}

# SDL's own message box names itself in UTF-8 only, which xdotool does not match.
top_window_named() {
    local windows
    windows=$(xwininfo -root -children) && grep -qF "\"$1\":" <<<"$windows"
}

start_on_menu() {
    start_xvfb
    open_course_menu
}

# Enter on the practice course, then Up and W: the bus rolls.
start_driving() {
    start_on_menu
    press Return
    expect_pixel_gone 480 110 FF0000 "driving screen"
    press Up W W
}

# A practice course whose road ends in grass two tiles to the right of the start: driving on
# ends in a crash and the result screen.
write_dead_end_course() {
    perl -e 'print pack("l<*", 3, 3, 3, (0,17,0), (0,1,0), (0,0,0))' >"$WORK/game/0.map"
}

# A score.dat in which the user map row (course 11) is open.
write_user_map_open() {
    perl -e 'my @r; for my $c (0 .. 19) { push @r, $c, ($c == 0 || $c == 11 ? 0 : -1), 0 }
             my $s = pack("l<*", 1, 1, @r); $s =~ s/\n/\r\n/g; print $s' >"$WORK/game/score.dat"
}

for delay in 0 0.4 1.1; do
    start_on_menu
    lose_display_after "$delay" "course menu, after $delay s"
done

for delay in 0 0.3 0.8 1.5; do
    start_driving
    lose_display_after "$delay" "driving, after $delay s"
done

copy_game
write_dead_end_course
start_driving
press W W W
wait_for 60 showing discontinue.bmp || fail "the drive did not end in the grass"
lose_display_after 0.2 "result screen"

start_on_menu
xdotool mousemove 100 100 click 3
expect_pixel 105 110 C0C0C0 "popup"
lose_display_after 0.2 "popup menu"

start_on_menu
press Down Return
wait_for_window_named "Course Select Error" >/dev/null
lose_display_after 0.2 "message box"

# Without zenity SDL draws the box in a copy of the game it forks; only the game says the
# display was lost. The box needs the X server's core fonts (xfonts-base), or it never shows.
open_sdl_box() {
    start_xvfb
    start_program "$WORK/game" env PATH=/nonexistent ./quonfel
    focus_game
    expect_pixel 480 110 FF0000 "course menu"
    press Down Return
    wait_for 60 top_window_named "Course Select Error" || fail "SDL's message box did not appear (no X core fonts?)"
}
open_sdl_box
lose_display_after 0.2 "SDL's own message box"

# Ended, or a zombie waiting to be collected by init.
gone() { [[ $(ps -o stat= -p "$1" | tr -d ' ') == @(|Z*) ]]; }
# Ended by a signal while SDL's box shows, the game takes that copy of itself along.
open_sdl_box
box_copy=$(ps -o pid= --ppid "$GAME_PID" | tr -d ' ')
[[ -n $box_copy ]] || fail "no copy of the game shows SDL's box"
kill -TERM "$GAME_PID"
wait_for 10 gone "$box_copy" || fail "the copy of the game showing SDL's box outlived the game"
wait "$GAME_PID" || true
GAME_PID=
stop_xvfb

copy_game
write_user_map_open
start_on_menu
for ((row = 0; row < 11; row++)); do press Down; done
press Return
wait_for_window_named "ユーザ作成マップファイルの選択" >/dev/null
lose_display_after 0.5 "file dialog"

echo "ok"
