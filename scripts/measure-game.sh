#!/usr/bin/env bash
# Runs the real game under a private Xvfb and prints what it costs: the CPU share on each
# screen (the course menu, the bus menu, driving and the result screen), the frame rate and
# how late the frames come while driving, peak memory, and the time from start to the first
# frame shown.
#
#   scripts/measure-game.sh [GAME_DIR] [SECONDS] [-- GAME OPTIONS...]
#
# GAME_DIR defaults to build/game (the game, its pictures and courses); SECONDS (default 20)
# is the length of each measured stretch. Options after -- go to the game (--scale 3). The
# game runs in a fresh copy of its folder with a score.dat in which the practice course is
# cleared, so Enter on it opens the bus menu. Measure an older build the same way, one run
# after the other, to compare the two. SCREEN (default 1280x1024) is the size of the X
# server's screen; WITH_PAD=1 plugs an untouched gamepad into the game (one of SDL's virtual
# ones, made by a second preloaded library). scripts/measure-side-by-side.sh runs this for
# several option sets and shows their figures side by side.
#
# Frames are counted by a small preloaded library that wraps SDL_UpdateWindowSurface, the
# call that puts each finished frame into the window: it notes the moment of every frame in a
# shared file the script reads. The game itself is not changed. A frame's lateness is the time
# between two frames shown, less the frame interval (1/30 s): the next deadline counts from
# the reading before a frame, so that is how far past its deadline the frame began, give or
# take the difference in drawing time of the two frames. The CPU share counts every thread of
# the game in nanoseconds (/proc/PID/task/*/schedstat). PROFILE=FILE adds a profile of the
# driving stretch.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME_DIR=$(cd "${1:-build/game}" && pwd)
SECONDS_PER_STRETCH=${2:-20}
GAME_OPTIONS=()
if [[ ${3:-} == -- ]]; then GAME_OPTIONS=("${@:4}"); fi
SCREEN=${SCREEN:-1280x1024}
[[ -x $GAME_DIR/quonfel ]] || { echo "no game in $GAME_DIR; build it first" >&2; exit 2; }

# With --sound the sound goes where SDL_AUDIODRIVER says; by default to SDL's "disk" driver
# into /dev/null, which keeps a real device's pace on a machine without a sound card.
if [[ " ${GAME_OPTIONS[*]-} " == *" --sound "* ]]; then
    export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=${SDL_DISKAUDIOFILE:-/dev/null}
fi

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

# --- the frame log ------------------------------------------------------------------------
MAX_FRAMES=65536
cat >"$WORK/frame_counter.c" <<EOF
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

/* Shared with the script: the wall-clock time of the first frame in nanoseconds, the number
   of frames so far, then the monotonic time of each frame in nanoseconds. */
#define MAX_FRAMES $MAX_FRAMES
struct FrameLog {
    volatile uint64_t firstFrameNs;
    volatile uint64_t frames;
    volatile uint64_t frameNs[MAX_FRAMES];
};
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

static uint64_t Nanoseconds(clockid_t clock) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
}

int SDL_UpdateWindowSurface(void* window) {
    static int (*real)(void*);
    if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    int result = real(window);
    if (frameLog) {
        if (frameLog->frames == 0) frameLog->firstFrameNs = Nanoseconds(CLOCK_REALTIME);
        if (frameLog->frames < MAX_FRAMES) frameLog->frameNs[frameLog->frames] = Nanoseconds(CLOCK_MONOTONIC);
        frameLog->frames++;
    }
    return result;
}
EOF
cc -O2 -shared -fPIC -o "$WORK/frame_counter.so" "$WORK/frame_counter.c" -ldl
PRELOAD=$WORK/frame_counter.so

# --- a gamepad, plugged in as the window appears --------------------------------------------
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
head -c $((16 + 8 * MAX_FRAMES)) /dev/zero >"$FRAME_LOG"

first_frame_ns() { od -An -t u8 -j 0 -N 8 "$FRAME_LOG" | tr -d ' '; }
frame_count() { od -An -t u8 -j 8 -N 8 "$FRAME_LOG" | tr -d ' '; }
# The monotonic times of frames $1 up to (not including) $2, one a line.
frame_times() { od -An -v -t u8 -w8 -j $((16 + 8 * $1)) -N $((8 * ($2 - $1))) "$FRAME_LOG"; }
# CPU time of the game so far, every thread, in nanoseconds.
cpu_ns() {
    [[ -d /proc/$GAME_PID/task ]] || { echo "the game has ended early:" >&2; cat "$WORK/game.log" >&2; exit 1; }
    cat /proc/"$GAME_PID"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f\n", sum }'
}
# The part of it spent on SDL's audio thread, which makes the sound (0 without --sound).
audio_ns() {
    local task sum=0
    for task in /proc/"$GAME_PID"/task/*; do
        [[ $(cat "$task/comm" 2>/dev/null) == SDLAudio* ]] || continue
        sum=$((sum + $(cut -d' ' -f1 "$task/schedstat" 2>/dev/null || echo 0)))
    done
    echo "$sum"
}

# --- X server and game ----------------------------------------------------------------------
source "$(dirname "$0")/private-xvfb.bash"
start_private_xvfb "${SCREEN}x24" "$WORK/xvfb.log" || true
[[ -n $XVFB_PID ]] || { echo "no X server could be started" >&2; exit 1; }

# score.dat: version 1, one set of 20 records (course, state, best time); the practice
# course cleared in 65 seconds, course 1 open, the rest locked. No byte pair 0D 0A occurs,
# so the text-mode reading takes the bytes as they are.
write_score_file() {
    perl -e 'print pack("l<*", 1, 1, map { ($_, $_ == 0 ? 1 : $_ == 1 ? 0 : -1, $_ == 0 ? 65 : 0) } 0 .. 19)' >"$1"
}

mkdir "$WORK/game"
for file in "$GAME_DIR"/*.bmp "$GAME_DIR"/*.map; do ln -s "$file" "$WORK/game/"; done
write_score_file "$WORK/game/score.dat"
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

# The X server's CPU time in clock ticks: a larger window costs it more to show.
server_ticks() { awk '{ print $14 + $15 }' "/proc/$XVFB_PID/stat"; }

# Measures one stretch; prints the CPU share in percent, the frames per second, the median
# and 99th percentile of the frames' lateness in milliseconds ("-" without frames), and the
# X server's CPU share in percent, then the audio thread's share in percent.
measure_stretch() {
    local cpu0 frames0 time0 server0 audio0 cpu1 frames1 time1 server1 audio1
    cpu0=$(cpu_ns); frames0=$(frame_count); time0=$(date +%s%N); server0=$(server_ticks); audio0=$(audio_ns)
    "$@"
    cpu1=$(cpu_ns); frames1=$(frame_count); time1=$(date +%s%N); server1=$(server_ticks); audio1=$(audio_ns)
    ((frames1 <= MAX_FRAMES)) || frames1=$MAX_FRAMES
    local late=(- -)
    if ((frames1 - frames0 >= 3)); then
        # Intervals between frames shown, less 1/30 s, sorted.
        read -r -a late < <(frame_times "$frames0" "$frames1" |
            awk 'NR > 1 { print ($1 - previous) / 1e6 - 1000 / 30 } { previous = $1 }' | sort -g |
            awk '{ v[NR] = $1 } END { m = v[int((NR + 1) / 2)]; p = v[int(NR * 0.99 + 0.999)];
                   printf "%.3f %.3f\n", m, p }')
    fi
    awk -v c="$((cpu1 - cpu0))" -v f="$((frames1 - frames0))" -v ns="$((time1 - time0))" \
        -v m="${late[0]}" -v p="${late[1]}" -v x="$((server1 - server0))" -v hz="$(getconf CLK_TCK)" \
        -v a="$((audio1 - audio0))" \
        'BEGIN { s = ns / 1e9; printf "%.2f %.2f %s %s %.2f %.2f\n", 100 * c / 1e9 / s, f / s, m, p, 100 * x / hz / s,
                 100 * a / 1e9 / s }'
}

stay() { sleep "$SECONDS_PER_STRETCH"; }

# Up into forward gear and the slowest speed, then gentle steering to and fro (a second to
# the left, a second to the right, straight on again): on the practice course that stays on
# the straight from the start for the whole stretch.
drive_around() {
    local end=$((SECONDS + SECONDS_PER_STRETCH))
    xdotool key Up w
    while ((SECONDS < end)); do
        xdotool key j
        sleep 1
        xdotool key k k
        sleep 1
        xdotool key j
    done
}

# Full lock to the left and speed: the bus runs off the straight into the grass beside it,
# the drive ends in a crash and the result screen shows.
crash() {
    local _
    xdotool key u u
    for _ in $(seq 10); do xdotool key w; done
    sleep 5
}

# The window in game pixels, whatever its scale.
window_picture() { import -window "$WINDOW" png:- 2>/dev/null | convert - -sample '640x480!' "$1"; }

# The colour of a pixel of a picture file as RRGGBB.
pixel_of() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p'; }

sleep 1  # let start-up settle before the first stretch
read -r MENU_CPU MENU_FPS _ _ MENU_SERVER MENU_AUDIO < <(measure_stretch stay)
xdotool key Return  # the practice course, cleared: the bus menu
sleep 1
read -r BUS_CPU BUS_FPS _ _ _ < <(measure_stretch stay)
xdotool key Return  # the standard bus
sleep 1
# PROFILE=FILE records where the game spends its time while driving (perf, 2 kHz), for
# `perf report -i FILE`; the figures of that run include the sampling's own cost.
PERF_PID=
if [[ -n ${PROFILE:-} ]]; then
    perf record -q -F 2000 --call-graph ${PROFILE_CALLS:-fp} -p "$GAME_PID" -o "$PROFILE" -- sleep "$SECONDS_PER_STRETCH" >/dev/null 2>&1 &
    PERF_PID=$!
fi
read -r DRIVE_CPU DRIVE_FPS LATE_MEDIAN LATE_P99 DRIVE_SERVER DRIVE_AUDIO < <(measure_stretch drive_around)
[[ -n $PERF_PID ]] && wait "$PERF_PID" || true
PEAK_KB=$(awk '/^VmHWM:/ { print $2 }' "/proc/$GAME_PID/status")
window_picture "$WORK/last-frame.png" &&
    cp "$WORK/last-frame.png" /tmp/quonfel-measure-last-frame.png || true
crash
read -r RESULT_CPU RESULT_FPS _ _ _ < <(measure_stretch stay)
window_picture "$WORK/result.png" &&
    cp "$WORK/result.png" /tmp/quonfel-measure-result.png || true
RESULT_SHOWN=yes
[[ $(pixel_of "$WORK/result.png" 20 300) == $(pixel_of "$GAME_DIR/discontinue.bmp" 20 300) ]] ||
    RESULT_SHOWN="NO: the drive did not end in a crash, the figures are not the result screen's"

xdotool key Escape
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$GAME_PID" 2>/dev/null && echo "note: the game did not end on Esc" >&2

cat <<REPORT
game:                   $GAME_DIR/quonfel
load average:           $(cut -d' ' -f1-3 /proc/loadavg) (at the end)
start to first frame:   ${FIRST_FRAME_MS} ms
course menu, ${SECONDS_PER_STRETCH} s:     CPU ${MENU_CPU} % of a core, ${MENU_FPS} frames/s shown
bus menu, ${SECONDS_PER_STRETCH} s:        CPU ${BUS_CPU} % of a core, ${BUS_FPS} frames/s shown
driving, ${SECONDS_PER_STRETCH} s:         CPU ${DRIVE_CPU} % of a core, ${DRIVE_FPS} frames/s
  frame lateness:       median ${LATE_MEDIAN} ms, 99th percentile ${LATE_P99} ms
result screen, ${SECONDS_PER_STRETCH} s:   CPU ${RESULT_CPU} % of a core, ${RESULT_FPS} frames/s shown
X server CPU:           ${MENU_SERVER} % on the course menu, ${DRIVE_SERVER} % driving
audio thread's CPU:     ${MENU_AUDIO} % on the course menu, ${DRIVE_AUDIO} % driving (part of the game's)
peak memory (VmHWM):    $((PEAK_KB / 1024)) MB (${PEAK_KB} kB)
last driving frame:     /tmp/quonfel-measure-last-frame.png
result screen:          /tmp/quonfel-measure-result.png (shown: $RESULT_SHOWN)
REPORT
