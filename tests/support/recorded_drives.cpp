#include "support/recorded_drives.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {
// Frames to keep running after the last key, in case the drive only ends later.
constexpr long kFramesAfterLastKey = kReplayFramesPerSecond * 5;
}  // namespace

DriveRecord ReadDriveFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    DriveRecord drive;
    std::string error;
    EXPECT_TRUE(in.is_open()) << path;
    EXPECT_TRUE(ParseDrive(text.str(), drive, error)) << path << ": " << error;
    return drive;
}

DriveRecord ShippedDrive(int course) {
    return ReadDriveFile(std::string(QUONFEL_SOURCE_DIR) + "/replays/" + std::to_string(course) + ".keys");
}

std::vector<KeyPress> RecordedDrive(int course) { return ShippedDrive(course).presses; }

void RunDriveFrames(HeadlessGame& game, FakeClock& clock, long lastKeyFrame,
                    const std::function<void(long)>& beforeFrame, const std::function<void()>& afterFrame) {
    for (long frame = 0; game.Driving() && frame <= lastKeyFrame + kFramesAfterLastKey; ++frame) {
        clock.wallSeconds = kReplayFirstSecond + frame / kReplayFramesPerSecond;
        beforeFrame(frame);
        if (!game.Driving()) break;
        game.Frame();
        afterFrame();
    }
}

void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame) {
    std::size_t next = 0;
    const auto pressKeysOf = [&](long frame) {
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
    };
    RunDriveFrames(game, clock, presses.empty() ? 0 : presses.back().frame, pressKeysOf, afterFrame);
}
