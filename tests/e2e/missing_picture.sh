#!/usr/bin/env bash
# A game started where a picture is missing shows the start-up error box, says on stderr which
# picture it looked for in which folder, and once the box is closed ends with status 1.
source "$(dirname "$0")/e2e_common.bash"

start_xvfb
copy_game
rm "$WORK/game/12.bmp"
start_game
box=$(timeout 30 xdotool search --sync --onlyvisible --class zenity | head -n 1) || fail "no message box"
box_process=$(pgrep -P "$GAME_PID" -x zenity) || fail "the box is not the game's"
box_arguments=$(tr '\0' '\n' <"/proc/$box_process/cmdline")
grep -qxF -- "--title=Ｑｕｏｎｆｅｌ" <<<"$box_arguments" && grep -qxF -- "--text=イメージのロードエラー" <<<"$box_arguments" ||
    fail "the box says: $box_arguments"
grep -qxF "quonfel: start-up failed loading the pictures: no 12.bmp in $WORK/game" "$WORK/game.log" ||
    fail "stderr does not name the picture and its folder"
xdotool windowfocus --sync "$box" key Return
expect_exit 1
echo "ok"
