#!/usr/bin/env bash
# Installs what is missing, checks that no include reaches above its layer, builds everything
# and runs every test: the unit and end-to-end tests (each end-to-end test starts its own
# Xvfb), then the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer in a
# separate build folder, then a short run of every fuzz target (built with clang in build-fuzz);
# last it checks that no test left a file in the source tree.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
source scripts/build-options.sh
source scripts/private-xvfb.bash
scripts/install-packages.sh "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)
# What git sees in the source tree now; the tests must leave it so (build folders are ignored).
source_changes() { git status --porcelain --untracked-files=all 2>/dev/null || true; }
changes_before=$(source_changes)

echo "== layers"
scripts/check-layers.sh

echo "== build"
cmake -S . -B build "${TEST_BUILD_OPTIONS[@]}" >/dev/null
cmake --build build -j"$jobs"
echo "== tests"
# The unit tests that open a real window get a display of their own; the end-to-end tests
# start one Xvfb each.
(cd build && with_private_xvfb ctest --output-on-failure -j"$jobs")

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Set before the build: the build runs the sanitized bitmap generator, and fontconfig keeps
# memory for the life of the process that only the suppressions excuse.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B build-sanitize "${SANITIZE_BUILD_OPTIONS[@]}" >/dev/null
cmake --build build-sanitize -j"$jobs"
# A display here too, so the window tests run under the sanitizers instead of skipping.
(cd build-sanitize && with_private_xvfb ctest --output-on-failure -j"$jobs" -L unit)

echo "== fuzzing: every reader of outside files, 20 seconds each"
scripts/fuzz.sh 20

echo "== the source tree is as the tests found it"
changes_after=$(source_changes)
if [[ $changes_after != "$changes_before" ]]; then
  echo "the tests changed the source tree:"
  diff <(echo "$changes_before") <(echo "$changes_after") | sed -n 's/^> /  /p' || true
  exit 1
fi
