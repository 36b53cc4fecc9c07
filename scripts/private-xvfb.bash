# A private Xvfb whose display number the server picks itself (-displayfd): two programs can
# never end up sharing one number, as they could when each looked for a free one. Sourced.
#
#   start_private_xvfb SCREEN LOG_FILE   (SCREEN as WIDTHxHEIGHTxDEPTH)
# sets XVFB_PID and exports DISPLAY; returns 1 when no server came up within 20 s.
#   with_private_xvfb COMMAND...
# runs the command on a 1280x1024 server of its own and stops the server after it.
start_private_xvfb() {
    local screen=$1 log=$2 number_file
    number_file=$(mktemp /tmp/quonfel-display-XXXXXX)
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >"$log" 2>&1 &
    XVFB_PID=$!
    local tenths
    for ((tenths = 0; tenths < 200; tenths++)); do
        # The server writes its number and a line end once it listens.
        if [[ $(wc -l <"$number_file") -ge 1 ]]; then
            DISPLAY=":$(head -n 1 "$number_file")"
            export DISPLAY
            rm -f "$number_file"
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
    return 1
}

with_private_xvfb() {
    (
        start_private_xvfb 1280x1024x24 /dev/null || { echo "no X server could be started" >&2; exit 1; }
        trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
        "$@"
    )
}
