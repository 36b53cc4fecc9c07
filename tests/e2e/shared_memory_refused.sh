#!/usr/bin/env bash
# An X server that refuses to share memory with the game, as one on another machine does:
# the game shows its frames all the same, and no X error ends it.
source "$(dirname "$0")/e2e_common.bash"

# Every attach names a segment that does not exist, so the server answers it with an error.
cat >"$WORK/refuse.c" <<'EOF'
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <dlfcn.h>
Bool XShmAttach(Display* display, XShmSegmentInfo* segment) {
    Bool (*real)(Display*, XShmSegmentInfo*) = (Bool (*)(Display*, XShmSegmentInfo*))dlsym(RTLD_NEXT, "XShmAttach");
    XShmSegmentInfo missing = *segment;
    missing.shmid = -1;
    const Bool sent = real(display, &missing);
    segment->shmseg = missing.shmseg;
    return sent;
}
EOF
cc -shared -fPIC -o "$WORK/refuse.so" "$WORK/refuse.c" -ldl || fail "the refusing library did not build"

start_xvfb
copy_game
start_program "$WORK/game" env LD_PRELOAD="$WORK/refuse.so" ./quonfel
focus_game
expect_pixel 480 110 FF0000 "course menu"
# A frame after the first: the highlight moves to the next course.
press Down
expect_pixel 480 130 FF0000 "the highlight on the first course"
press Escape
expect_exit 0
[[ ! -s $WORK/game.log ]] || fail "the game wrote: $(cat "$WORK/game.log")"
echo "ok"
