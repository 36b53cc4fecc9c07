#!/usr/bin/env bash
# What a bare 640x480 SDL window costs on this machine at 30 frames a second, as the game's
# floor: each frame it reads SDL's events, presents the window's pixels the way the game does
# (SDL's own framebuffer, shared memory with the X server) and sleeps to the next deadline.
# The second figure also copies one whole frame's pixels into the window first, about what a
# driving frame writes. This virtual machine's figures drift by a fifth from one hour to the
# next; measured next to the game, the floor tells the game's own share from the drift.
#
#   scripts/measure-floor.sh [SECONDS] [ROUNDS]
#
# SECONDS (default 10) per stretch, ROUNDS (default 3) of both stretches in turn; prints every
# stretch's CPU share and the medians.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_STRETCH=${1:-10}
ROUNDS=${2:-3}
source scripts/private-xvfb.bash

WORK=$(mktemp -d /tmp/quonfel-floor-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cat >"$WORK/floor.c" <<'EOF'
#include <SDL.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int64_t Nanoseconds(clockid_t clock) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

int main(int argc, char** argv) {
    const int copyFrame = atoi(argv[1]);
    const int64_t seconds = atoi(argv[2]);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("floor", 0, 0, 640, 480, 0);
    SDL_Surface* pixels = window ? SDL_GetWindowSurface(window) : NULL;
    if (!pixels) return 1;
    // A picture one pixel wider than the window, read one column further each frame, so no
    // two frames copy the same.
    uint32_t* picture = malloc(641 * 480 * 4);
    for (int i = 0; i < 641 * 480; ++i) picture[i] = (uint32_t)i * 2654435761u;
    // The first second (the window mapped, the shared memory set up) is not counted.
    const int kWarmUpFrames = 30;
    int64_t deadline = Nanoseconds(CLOCK_MONOTONIC);
    int64_t end = INT64_MAX, cpuBefore = 0;
    for (int frame = 0; Nanoseconds(CLOCK_MONOTONIC) < end; ++frame) {
        if (frame == kWarmUpFrames) {
            end = Nanoseconds(CLOCK_MONOTONIC) + seconds * 1000000000;
            cpuBefore = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        for (int y = 0; copyFrame && y < 480; ++y)
            memcpy((char*)pixels->pixels + y * pixels->pitch, picture + y * 641 + (frame & 1), 640 * 4);
        SDL_UpdateWindowSurface(window);
        deadline += 1000000000 / 30;
        const struct timespec at = {deadline / 1000000000, deadline % 1000000000};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, NULL);
    }
    const double cpuSeconds = (Nanoseconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore) / 1e9;
    printf("%.2f\n", 100.0 * cpuSeconds / seconds);
    return 0;
}
EOF
# shellcheck disable=SC2046
cc -O2 -o "$WORK/floor" "$WORK/floor.c" $(sdl2-config --cflags --libs)

measure_rounds() {
    local present=() copied=() round
    for ((round = 0; round < ROUNDS; round++)); do
        present+=("$("$WORK/floor" 0 "$SECONDS_PER_STRETCH")")
        copied+=("$("$WORK/floor" 1 "$SECONDS_PER_STRETCH")")
    done
    median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
    echo "load average:            $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "present alone:           ${present[*]} % of a core (median $(median "${present[@]}") %)"
    echo "one frame copied first:  ${copied[*]} % of a core (median $(median "${copied[@]}") %)"
}
with_private_xvfb measure_rounds
