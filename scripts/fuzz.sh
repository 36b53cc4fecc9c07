#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for a while.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 20; for a real search use e.g. `scripts/fuzz.sh 600`).
# TARGET names a target without its fuzz_ prefix (course_file, user_map, score_file,
# key_file, challenge_file, map_text, map_tool_file, course_frames, surface_copy); default all of them.
# Each target grows its own corpus in build-fuzz/corpus/<target>, seeded from
# fuzz/corpus/<target>. An input that makes a target fail is kept in
# build-fuzz/artifacts/<target>/ and the script fails; copy it into
# fuzz/regressions/<target>/ once the fault is fixed: every run here starts from those
# inputs too, and the unit tests (tests/fuzz_regressions) replay the readers' ones.
# FUZZ_NICE (default 10) is the niceness of the runs, so that they share the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(course_file user_map score_file key_file challenge_file map_text map_tool_file course_frames surface_copy)

build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DQUONFEL_FUZZ=ON -DQUONFEL_TESTS=OFF \
  -DQUONFEL_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets >/dev/null

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

failed=()
for target in "${targets[@]}"; do
  program=$build/fuzz/fuzz_$target
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  log=$build/fuzz_$target.log
  mkdir -p "$corpus" "$artifacts"
  options=()
  # A 20 by 20 course text is about 1200 bytes; longer texts only slow the search down.
  [ "$target" = map_text ] && options+=(-max_len=1500)
  regressions=()
  [ -d "$root/fuzz/regressions/$target" ] && regressions+=("$root/fuzz/regressions/$target")
  # The targets work in a folder of their own, so every path given to them is absolute.
  if nice -n "${FUZZ_NICE:-10}" "$program" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" ${options[@]+"${options[@]}"} "$corpus" "$root/fuzz/corpus/$target" \
      ${regressions[@]+"${regressions[@]}"} >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: ${runs:-?} executions in ${seconds} s, no failure"
  else
    echo "fuzz_$target: FAILED, see $log and $artifacts/"
    grep -E "^(==[0-9]+==ERROR|SUMMARY|fuzz expectation failed)|runtime error" "$log" | head -5 || true
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzzing found faults in: ${failed[*]}"; exit 1; }
