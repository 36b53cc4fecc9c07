#!/usr/bin/env bash
# The command line needs no display for --help and --version, refuses what it does not know
# with status 2, and none of it writes into the game folder.
source "$(dirname "$0")/e2e_common.bash"

mkdir "$WORK/empty"
cd "$WORK/empty"
run_quonfel() {
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY "$GAME_DIR/quonfel" "$@" >"$WORK/out" 2>"$WORK/err" || status=$?
    echo "$status"
}

[[ $(run_quonfel --help) == 0 ]] || fail "--help: status $(run_quonfel --help)"
grep -q -- "--scale N" "$WORK/out" || fail "--help does not name --scale"
grep -q -- "--fullscreen" "$WORK/out" || fail "--help does not name --fullscreen"
[[ ! -s $WORK/err ]] || fail "--help wrote to stderr: $(cat "$WORK/err")"

[[ $(run_quonfel --version) == 0 ]] || fail "--version failed"
grep -Eq '^quonfel [0-9]+\.[0-9]+\.[0-9]+$' "$WORK/out" || fail "--version printed '$(cat "$WORK/out")'"

for wrong in "--scale 0" "--scale 7" "--scale" "--scale big" "--window" "extra"; do
    # shellcheck disable=SC2086
    status=$(run_quonfel $wrong)
    [[ $status == 2 ]] || fail "'$wrong': status $status, expected 2"
    [[ ! -s $WORK/out ]] || fail "'$wrong' wrote to stdout"
    grep -q "^quonfel: " "$WORK/err" || fail "'$wrong': no message on stderr"
    grep -q "^Usage: quonfel" "$WORK/err" || fail "'$wrong': no usage on stderr"
done

[[ -z $(ls -A "$WORK/empty") ]] || fail "the command line left files: $(ls -A "$WORK/empty")"
echo "ok"
