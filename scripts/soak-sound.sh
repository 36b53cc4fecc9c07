#!/usr/bin/env bash
# Drives the game at random for a long while with sound on and, beside it, the same keys to a
# second game without sound, each on its own private Xvfb, and prints what each cost: CPU
# share, resident memory, and for the one with sound how its audio thread kept up (buffers,
# those that came late, the longest fill).
#
#   scripts/soak-sound.sh [GAME_DIR] [MINUTES]        (defaults: build/game, 10)
#
# Sound goes to SDL_AUDIODRIVER (default "disk", into /dev/null at the pace of a real device).
# Random driving: on the driving screen a random driving key every 150 ms (gear, speed,
# brakes, steering); a look at the screen every 3 s leads from the result screen back to the
# menu, and from a menu into the practice course.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME_DIR=$(cd "${1:-build/game}" && pwd)
MINUTES=${2:-10}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=${SDL_DISKAUDIOFILE:-/dev/null}
export GSETTINGS_BACKEND=memory QUONFEL_SOUND_REPORT=1
WORK=$(mktemp -d /tmp/quonfel-soak-XXXXXX)
export XDG_CONFIG_HOME=$WORK/config
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

source "$(dirname "$0")/private-xvfb.bash"

# start NAME OPTIONS...: a display and a game of its own; sets DISPLAY_NAME and PID_NAME.
start() {
    local name=$1 n
    shift
    start_private_xvfb 1280x1024x24 /dev/null || { echo "no X server could be started" >&2; exit 1; }
    PIDS+=("$XVFB_PID")
    n=${DISPLAY#:}
    mkdir "$WORK/$name"
    for file in "$GAME_DIR"/*.bmp "$GAME_DIR"/*.map; do ln -s "$file" "$WORK/$name/"; done
    (cd "$WORK/$name" && DISPLAY=:$n exec "$GAME_DIR/quonfel" "$@" >"$WORK/$name.log" 2>&1) &
    local pid=$!
    PIDS+=("$pid")
    local window
    window=$(DISPLAY=:$n timeout 20 xdotool search --sync --class 'Quonfel\.exe' | head -n 1)
    DISPLAY=:$n xdotool windowfocus --sync "$window"
    printf -v "DISPLAY_$name" ':%s' "$n"
    printf -v "PID_$name" '%s' "$pid"
}

cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { printf "%.0f\n", sum }'; }

# Which screen a game shows, by the top edge of its picture.
screen_of() {
    case $(DISPLAY=$1 import -window root -crop 1x1+320+5 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}') in
    '#444E63') echo menu ;;
    '#0A0C12') echo driving ;;
    *) echo result ;;
    esac
}

KEYS=(Up Up Down w w w s x q a z u h j j i l k k KP_5 KP_8)
start sound --sound
start silent
START_NS=$(date +%s%N)
CPU0_sound=$(cpu_ns "$PID_sound")
CPU0_silent=$(cpu_ns "$PID_silent")
END=$((SECONDS + MINUTES * 60))
RANDOM=25
drives=0
while ((SECONDS < END)); do
    for game in sound silent; do
        display=DISPLAY_$game
        case $(screen_of "${!display}") in
        menu) DISPLAY=${!display} xdotool key --delay 20 Up Up Up Up Up Up Up Up Up Up Up Up Return
              [[ $game == sound ]] && drives=$((drives + 1)) ;;
        result) DISPLAY=${!display} xdotool key Return ;;
        esac
    done
    for _ in $(seq 20); do
        key=${KEYS[RANDOM % ${#KEYS[@]}]}
        DISPLAY=$DISPLAY_sound xdotool key "$key"
        DISPLAY=$DISPLAY_silent xdotool key "$key"
        sleep 0.15
    done
done
SECONDS_RUN=$(awk -v ns=$(($(date +%s%N) - START_NS)) 'BEGIN { printf "%.1f", ns / 1e9 }')
report() {
    local pid=$1 cpu0=$2
    awk -v c=$(($(cpu_ns "$pid") - cpu0)) -v s="$SECONDS_RUN" 'BEGIN { printf "CPU %.2f %% of a core", 100 * c / 1e9 / s }'
    echo ", resident $(awk '/^VmRSS:/ { print $2 }' /proc/"$pid"/status) kB, peak $(awk '/^VmHWM:/ { print $2 }' /proc/"$pid"/status) kB"
}
echo "random driving for $SECONDS_RUN s, $drives drives started, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "with sound ($SDL_AUDIODRIVER):    $(report "$PID_sound" "$CPU0_sound")"
echo "without sound:          $(report "$PID_silent" "$CPU0_silent")"
for game in sound silent; do
    display=DISPLAY_$game
    DISPLAY=${!display} xdotool key Escape
done
sleep 2
echo "--- the game with sound said:"
grep -v CRITICAL "$WORK/sound.log" || true
echo "--- the game without sound said:"
cat "$WORK/silent.log"
