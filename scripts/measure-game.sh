#!/usr/bin/env bash
# Runs the real game under a private Xvfb and prints what it costs: CPU share on the course
# menu and while driving, peak memory, the time from start to the first frame shown, and
# the frame rate achieved.
#
#   scripts/measure-game.sh [GAME_DIR] [SECONDS] [-- GAME OPTIONS...]
#
# GAME_DIR defaults to build/game (the game, its pictures and courses); SECONDS (default 20)
# is the length of each of the two measured stretches. Options after -- go to the game
# (--scale 3). The game runs in a fresh copy of its folder, so no score.dat is read or left
# behind. SCREEN (default 1280x1024) is the size of the X server's screen; WITH_PAD=1 plugs a
# gamepad into the game (one of SDL's virtual ones, made by a second preloaded library) that
# stays untouched. scripts/measure-side-by-side.sh runs this for several option sets.
#
# Frames are counted by a small preloaded library that wraps SDL_UpdateWindowSurface, the
# call that puts each finished frame into the window: it notes the moment of the first
# frame and the number of frames in a shared file the script reads. The game itself is not
# changed.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME_DIR=$(cd "${1:-build/game}" && pwd)
SECONDS_PER_STRETCH=${2:-20}
GAME_OPTIONS=()
if [[ ${3:-} == -- ]]; then GAME_OPTIONS=("${@:4}"); fi
SCREEN=${SCREEN:-1280x1024}
[[ -x $GAME_DIR/quonfel ]] || { echo "no game in $GAME_DIR; build it first" >&2; exit 2; }

WORK=$(mktemp -d /tmp/quonfel-measure-XXXXXX)
XVFB_PID=
GAME_PID=
cleanup() {
    [[ -n $GAME_PID ]] && kill "$GAME_PID" 2>/dev/null || true
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null || true
    [[ -n $XVFB_PID ]] && wait "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
export GSETTINGS_BACKEND=memory

# --- the frame counter ----------------------------------------------------------------------
cat >"$WORK/frame_counter.c" <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

/* Shared with the script: the wall-clock time of the first frame in nanoseconds, then the
   number of frames so far. */
struct FrameLog { volatile uint64_t firstFrameNs; volatile uint64_t frames; };
static struct FrameLog* frameLog;

__attribute__((constructor)) static void OpenFrameLog(void) {
    const char* path = getenv("QUONFEL_FRAME_LOG");
    if (!path) return;
    int fd = open(path, O_RDWR);
    if (fd < 0) return;
    void* shared = mmap(NULL, sizeof *frameLog, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (shared != MAP_FAILED) frameLog = shared;
}

int SDL_UpdateWindowSurface(void* window) {
    static int (*real)(void*);
    if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    int result = real(window);
    if (frameLog) {
        if (frameLog->frames == 0) {
            struct timespec now;
            clock_gettime(CLOCK_REALTIME, &now);
            frameLog->firstFrameNs = (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
        }
        frameLog->frames++;
    }
    return result;
}
EOF
cc -O2 -shared -fPIC -o "$WORK/frame_counter.so" "$WORK/frame_counter.c" -ldl
PRELOAD=$WORK/frame_counter.so

# --- a gamepad, plugged in as the window appears ---------------------------------------------
if [[ ${WITH_PAD:-0} == 1 ]]; then
    cat >"$WORK/pad.c" <<'EOF'
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>

SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags) {
    SDL_Window* (*real)(const char*, int, int, int, int, Uint32) =
        (SDL_Window * (*)(const char*, int, int, int, int, Uint32)) dlsym(RTLD_NEXT, "SDL_CreateWindow");
    SDL_Window* window = real(title, x, y, w, h, flags);
    SDL_VirtualJoystickDesc pad = {0};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    pad.name = "measuring pad";
    SDL_JoystickAttachVirtualEx(&pad);
    return window;
}
EOF
    cc -O2 -shared -fPIC -o "$WORK/pad.so" "$WORK/pad.c" $(pkg-config --cflags sdl2) -ldl
    PRELOAD="$PRELOAD $WORK/pad.so"
fi
FRAME_LOG=$WORK/frames.bin
head -c 16 /dev/zero >"$FRAME_LOG"

first_frame_ns() { od -An -t u8 -j 0 -N 8 "$FRAME_LOG" | tr -d ' '; }
frame_count() { od -An -t u8 -j 8 -N 8 "$FRAME_LOG" | tr -d ' '; }
# utime + stime of the game in clock ticks.
cpu_ticks() {
    [[ -r /proc/$GAME_PID/stat ]] || { echo "the game has ended early:" >&2; cat "$WORK/game.log" >&2; exit 1; }
    awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"
}
TICKS_PER_SECOND=$(getconf CLK_TCK)

# --- X server and game ----------------------------------------------------------------------
for n in $(seq 161 230); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${SCREEN}x24" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    # Our own server must be the one answering: another one may have taken the number first.
    sleep 0.2
    kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && break
    kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
done
[[ -n $XVFB_PID ]] || { echo "no X server could be started" >&2; exit 1; }

mkdir "$WORK/game"
for file in "$GAME_DIR"/*.bmp "$GAME_DIR"/*.map; do ln -s "$file" "$WORK/game/"; done
cd "$WORK/game"
START_NS=$(date +%s%N)
QUONFEL_FRAME_LOG=$FRAME_LOG LD_PRELOAD=$PRELOAD "$GAME_DIR/quonfel" "${GAME_OPTIONS[@]}" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
WINDOW=$(timeout 20 xdotool search --sync --class 'Quonfel\.exe' | head -n 1) || true
[[ -n $WINDOW ]] || { echo "the game window did not appear" >&2; cat "$WORK/game.log" >&2; exit 1; }
for _ in $(seq 200); do [[ $(frame_count) -gt 0 ]] && break; sleep 0.05; done
[[ $(frame_count) -gt 0 ]] || { echo "the game showed no frame" >&2; exit 1; }
FIRST_FRAME_MS=$(( ($(first_frame_ns) - START_NS) / 1000000 ))
xdotool windowfocus --sync "$WINDOW"

# The X server's own CPU time: a larger window costs it more to show.
server_ticks() { awk '{ print $14 + $15 }' "/proc/$XVFB_PID/stat"; }

# Measures one stretch; prints the CPU share in percent, the frames per second and the X
# server's CPU share.
measure_stretch() {
    local ticks0 frames0 time0 server0 ticks1 frames1 time1 server1
    ticks0=$(cpu_ticks); frames0=$(frame_count); time0=$(date +%s%N); server0=$(server_ticks)
    "$@"
    ticks1=$(cpu_ticks); frames1=$(frame_count); time1=$(date +%s%N); server1=$(server_ticks)
    awk -v t="$((ticks1 - ticks0))" -v hz="$TICKS_PER_SECOND" -v f="$((frames1 - frames0))" \
        -v ns="$((time1 - time0))" -v x="$((server1 - server0))" \
        'BEGIN { s = ns / 1e9; printf "%.1f %.1f %.1f\n", 100 * t / hz / s, f / s, 100 * x / hz / s }'
}

stay_on_menu() { sleep "$SECONDS_PER_STRETCH"; }

# Up into forward gear and the slowest speed, then gentle steering to and fro: on the
# practice course that stays on the straight from the start for the whole stretch.
drive_around() {
    local end=$((SECONDS + SECONDS_PER_STRETCH))
    xdotool key Up w
    while ((SECONDS < end)); do
        xdotool key j
        sleep 1
        xdotool key k
        sleep 1
    done
}

sleep 1  # let start-up settle before the menu stretch
read -r MENU_CPU MENU_FPS MENU_SERVER_CPU < <(measure_stretch stay_on_menu)
xdotool key Return  # the practice course, the first row
sleep 1
read -r DRIVE_CPU DRIVE_FPS DRIVE_SERVER_CPU < <(measure_stretch drive_around)
PEAK_KB=$(awk '/^VmHWM:/ { print $2 }' "/proc/$GAME_PID/status")
import -window "$WINDOW" "$WORK/last-frame.png" 2>/dev/null &&
    cp "$WORK/last-frame.png" /tmp/quonfel-measure-last-frame.png || true

xdotool key Escape
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$GAME_PID" 2>/dev/null && echo "note: the game did not end on Esc" >&2

cat <<REPORT
start to first frame:   ${FIRST_FRAME_MS} ms   (target under 300 ms)
course menu, ${SECONDS_PER_STRETCH} s:     CPU ${MENU_CPU} %, ${MENU_FPS} frames/s   (target CPU under 5 %)
driving, ${SECONDS_PER_STRETCH} s:         CPU ${DRIVE_CPU} %, ${DRIVE_FPS} frames/s   (target CPU under 10 %)
X server CPU:           ${MENU_SERVER_CPU} % on the menu, ${DRIVE_SERVER_CPU} % driving
peak memory (VmHWM):    $((PEAK_KB / 1024)) MB (${PEAK_KB} kB)
last driving frame:     /tmp/quonfel-measure-last-frame.png
REPORT
