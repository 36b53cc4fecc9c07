// The shipped recorded drives (replays/N.keys) and a loop that plays one through a headless
// game frame by frame, as the frame loop would: the keys of a frame first, then the frame.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "maptool/drive_keys.h"
#include "maptool/headless_game.h"
#include "support/test_support.h"

constexpr long kReplayFramesPerSecond = 30;
constexpr std::int64_t kReplayFirstSecond = 1700000000;

// The presses of a course's recorded drive; a test failure when the file cannot be read.
std::vector<KeyPress> RecordedDrive(int course);

// Plays the presses from the first driving frame on until the drive ends or five seconds
// after the last key. The wall clock moves on one second every 30 frames; afterFrame runs
// after each frame.
void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame = [] {});
