#!/usr/bin/env bash
# The game starts in its borderless window at the top-left corner, shows the course menu,
# and Esc ends it with status 0.
source "$(dirname "$0")/e2e_common.bash"

# The red highlight bar of the first course row, beside its caption.
BAR_X=480
BAR_Y=110

start_xvfb
start_game
check_window_at 0 0
expect_pixel $BAR_X $BAR_Y FF0000 "course menu"
focus_game
press Escape
expect_exit 0
echo "ok"
