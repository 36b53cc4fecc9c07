#!/usr/bin/env bash
# The mutation script on a scratch project of one function and one test: it counts what the
# test catches, names what it misses, leaves comments and strings alone, and puts the file
# back, after the run and after Ctrl+C.
set -euo pipefail
SOURCE_DIR=$(cd "$1" && pwd)
WORK=$(mktemp -d /tmp/quonfel-mutate-test-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir "$WORK/project"
cd "$WORK/project"
cat >CMakeLists.txt <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(scratch CXX)
enable_testing()
add_executable(test_clamp clamp.cpp clamp_test.cpp)
add_test(NAME clamp COMMAND test_clamp)
set_tests_properties(clamp PROPERTIES LABELS unit)
EOF
cat >clamp.cpp <<'EOF'
// Clamp to 10 (a comment: "if (x > 1)" is no code)
int Clamp(int value) {
    if (value > 10) return 10;
    const char* text = "a > 1";
    return text ? value : 0;
}
EOF
echo 'int Clamp(int); int main() { return Clamp(11) == 10 && Clamp(10) == 10 ? 0 : 1; }' >clamp_test.cpp
cmake -S . -B build >/dev/null
cp clamp.cpp "$WORK/original.cpp"

# Line 3: > flipped, 10 -> 9 twice, negated, dropped; line 5: 0 -> 1. The test misses the first
# 10 -> 9 and the 0 -> 1. DISPLAY is set so that no Xvfb starts.
DISPLAY=none bash "$SOURCE_DIR/scripts/mutate.sh" -n 0 -j 1 clamp.cpp >"$WORK/out" 2>"$WORK/err" ||
    fail "the run failed: $(cat "$WORK/err")"
cmp -s clamp.cpp "$WORK/original.cpp" || fail "the file was not put back"
grep -qx "clamp.cpp: caught 4, missed 2, not compiling 0" "$WORK/out" || fail "counts: $(cat "$WORK/out" "$WORK/err")"
[[ $(grep '^  missed' "$WORK/out") == "  missed clamp.cpp:3: 10 -> 9"$'\n'"  missed clamp.cpp:5: 0 -> 1" ]] ||
    fail "the missed faults are not named: $(cat "$WORK/out")"

# Ctrl+C (to the whole process group, as a terminal sends it) while a fault is planted puts
# the file back too.
set -m
DISPLAY=none bash "$SOURCE_DIR/scripts/mutate.sh" -n 1 -j 1 clamp.cpp >/dev/null 2>&1 &
pid=$!
for _ in $(seq 600); do cmp -s clamp.cpp "$WORK/original.cpp" || break; sleep 0.1; done
! cmp -s clamp.cpp "$WORK/original.cpp" || fail "no fault was planted"
kill -INT -- -"$pid"
wait "$pid" || true
cmp -s clamp.cpp "$WORK/original.cpp" || fail "the file was not put back after Ctrl+C"
echo "PASS"
