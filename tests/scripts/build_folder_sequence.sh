#!/usr/bin/env bash
# A maintainer's sequence in one checkout: ./test.sh, ./run.sh, a change, ./test.sh again.
# The second test configure must bring the test programs back into the build, or CTest would
# run the binaries of the first one against the changed code. Configures a copy of the
# source with the options the scripts use; nothing is compiled.
set -euo pipefail
SOURCE_DIR=$(cd "$1" && pwd)
source "$SOURCE_DIR/scripts/build-options.sh"
WORK=$(mktemp -d /tmp/quonfel-build-sequence-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# The whole source, without build folders and history.
tar -C "$SOURCE_DIR" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$WORK" -xf -
cd "$WORK"

configure() { cmake -S . -B build "$@" >/dev/null; }
has_test_program() { cmake --build build --target help | grep -c 'test_smoke' >/dev/null; }

configure "${TEST_BUILD_OPTIONS[@]}"
has_test_program || { echo "FAIL: the test configure has no test programs" >&2; exit 1; }

configure "${GAME_BUILD_OPTIONS[@]}"
if has_test_program; then echo "FAIL: the game-only configure builds the tests" >&2; exit 1; fi

echo "// changed" >>tests/smoke/build_smoke_test.cpp
configure "${TEST_BUILD_OPTIONS[@]}"
has_test_program || { echo "FAIL: after a game-only configure the tests are not rebuilt" >&2; exit 1; }
grep -q 'test_smoke' build/tests/CTestTestfile.cmake ||
    { echo "FAIL: CTest does not list the rebuilt test programs" >&2; exit 1; }
echo "PASS"
