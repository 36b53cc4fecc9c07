// The shipped recorded drives (replays/N.keys) and a loop that plays one through a headless
// game frame by frame, as the frame loop would: the keys of a frame first, then the frame.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "records/drive_keys.h"
#include "maptool/headless_game.h"
#include "support/test_support.h"

constexpr long kReplayFramesPerSecond = 30;
constexpr std::int64_t kReplayFirstSecond = 1700000000;

// A key file; a test failure when it cannot be read.
DriveRecord ReadDriveFile(const std::string& path);
// A course's shipped recorded drive (replays/N.keys), and its presses alone.
DriveRecord ShippedDrive(int course);
std::vector<KeyPress> RecordedDrive(int course);

// Runs the frames of a drive from its first driving frame on until the drive ends or five
// seconds after lastKeyFrame. The wall clock moves on one second every 30 frames;
// beforeFrame(frame) gives the keys of a frame, afterFrame runs after each frame.
void RunDriveFrames(HeadlessGame& game, FakeClock& clock, long lastKeyFrame,
                    const std::function<void(long)>& beforeFrame, const std::function<void()>& afterFrame);
// Plays the presses, each before its frame, through the window procedure.
void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame = [] {});
