#!/usr/bin/env bash
# The layer check passes on the source as it is and fails, naming the line, on each kind of
# include that reaches up: app/ from a subsystem, menus/ from replays/, a subsystem from
# shared/ or platform/.
set -euo pipefail
SOURCE_DIR=$(cd "$1" && pwd)
WORK=$(mktemp -d /tmp/quonfel-check-layers-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
check() { bash "$SOURCE_DIR/scripts/check-layers.sh" "$WORK/src"; }

cp -r "$SOURCE_DIR/src" "$WORK/src"
check >/dev/null || { echo "FAIL: the source as it is does not pass" >&2; exit 1; }

for case in 'bus/bus.cpp|#include "app/app.h"' 'shared/globals.cpp|#include "bus/bus.h"' \
    'platform/window.cpp|#include "shared/globals.h"' 'platform/surface.h|  #  include "records/score_table.h"' \
    'course/course_view.cpp|#include <app/keys.h>' 'course/course_view.cpp|#include "../app/keys.h"' \
    'menus/extra.hpp|#include "app/app.h"' 'platform/window.cpp|#include "../course/course_map.h"' \
    'replays/watch.cpp|#include "menus/menu_screen.h"' 'replays/ghost.h|#include <../menus/menu_screen.h>'; do
    file=${case%%|*} line=${case#*|}
    rm -rf "$WORK/src" && cp -r "$SOURCE_DIR/src" "$WORK/src"
    echo "$line" >>"$WORK/src/$file"
    if errors=$(check 2>&1); then echo "FAIL: '$line' in $file passed" >&2; exit 1; fi
    grep -qF "$file" <<<"$errors" || { echo "FAIL: the error does not name $file: $errors" >&2; exit 1; }
done
# A folder that is not a source folder is an error, not a pass.
if bash "$SOURCE_DIR/scripts/check-layers.sh" "$WORK/nothing-here" 2>/dev/null; then
    echo "FAIL: a missing source folder passed" >&2
    exit 1
fi
echo "PASS"
