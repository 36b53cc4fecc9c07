#!/usr/bin/env bash
# --help and --version need no display; what the game does not know ends it with status 2,
# its one line and where to find the options on stderr; without a display it ends with status 1.
source "$(dirname "$0")/e2e_common.bash"

quonfel() { env -u DISPLAY -u WAYLAND_DISPLAY "$GAME_DIR/quonfel" "$@" >"$WORK/out" 2>"$WORK/err"; }

quonfel --help || fail "--help: status $?"
grep -q -- "--scale N" "$WORK/out" || fail "--help does not name --scale"
quonfel --version || fail "--version: status $?"
grep -Eq '^quonfel [0-9]+\.[0-9]+\.[0-9]+$' "$WORK/out" || fail "--version printed '$(cat "$WORK/out")'"
status=0
quonfel --scale 7 || status=$?
[[ $status == 2 ]] || fail "--scale 7: status $status, expected 2"
[[ $(wc -l <"$WORK/err") == 2 ]] && grep -qx "quonfel: --scale takes N|auto, not '7'" "$WORK/err" &&
    grep -qx "Try 'quonfel --help' for the options." "$WORK/err" || fail "--scale 7 said '$(cat "$WORK/err")'"
# No display at all: a line that says so, and status 1.
status=0
quonfel || status=$?
[[ $status == 1 ]] && grep -Eq "^quonfel: (no display to show the window on|cannot open the display)" "$WORK/err" ||
    fail "without a display: status $status, said '$(cat "$WORK/err")'"
# Text from outside is quoted with its control characters escaped: no escape sequence of a file
# name retitles or clears the player's terminal.
for option in --watch --map; do
    status=0
    quonfel "$option" $'\e]0;owned\a\e[2J\xc2\x9b.keys' || status=$?
    [[ $status == 2 ]] && grep -qF 'quonfel: \x1b]0;owned\x07\x1b[2J\xc2\x9b.keys: ' "$WORK/err" &&
        ! grep -q $'[\e\a]' "$WORK/err" || fail "$option of a file named with escapes: status $status, said '$(cat -v "$WORK/err")'"
done
# A map whose path a key file cannot name is played, but its best drive cannot be kept: said.
cp "$GAME_DIR/0.map" "$WORK/"$'my\nmap.map'
status=0
quonfel --map "$WORK/"$'my\nmap.map' || status=$?
[[ $status == 1 ]] && grep -qxF "quonfel: $WORK/my\x0amap.map: its best drive cannot be kept, as a key file cannot name a path with a line end or with blanks at its end" "$WORK/err" ||
    fail "--map with a line end in its path: status $status, said '$(cat "$WORK/err")'"
echo "ok"
