#!/usr/bin/env bash
# The preferences file sets how the game starts: "scale = 2" gives a window twice as large,
# and a line the game cannot use is named on stderr while the rest applies. Alt+Enter's
# fullscreen is written into the file with every other line kept, and the next start comes up
# in fullscreen; options override the file for one run without changing it.
source "$(dirname "$0")/e2e_common.bash"

CONF=$XDG_CONFIG_HOME/quonfel/quonfel.conf
mkdir -p "${CONF%/*}"
printf '# mine\nscale = 2\nspeed = fast\n' >"$CONF"

quit_game() {
    focus_game
    press Escape
    expect_exit 0
}

start_xvfb
start_game
check_window_at 0 0 1280 960
grep -qxF "quonfel: $CONF line 3: no setting is called 'speed'" "$WORK/game.log" || fail "the unusable line was not named"
focus_game
press alt+Return
check_window_at 0 0 1280 1024
quit_game
[[ $(cat "$CONF") == $'# mine\nscale = 2\nspeed = fast\nfullscreen = on' ]] || fail "the file after Alt+Enter: $(cat "$CONF")"

start_game
check_window_at 0 0 1280 1024
quit_game
start_program "$WORK/game" ./quonfel --no-fullscreen --scale 1
check_window_at 0 0 640 480
quit_game
grep -qx "fullscreen = on" "$CONF" || fail "options changed the file: $(cat "$CONF")"
echo "ok"
