#include "support/recorded_drives.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {
// Frames to keep running after the last key, in case the drive only ends later.
constexpr long kFramesAfterLastKey = kReplayFramesPerSecond * 5;
}  // namespace

std::vector<KeyPress> RecordedDrive(int course) {
    const std::string path = std::string(QUONFEL_SOURCE_DIR) + "/replays/" + std::to_string(course) + ".keys";
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<KeyPress> presses;
    std::string error;
    EXPECT_TRUE(in.good() || in.eof()) << path;
    EXPECT_TRUE(ParseDrive(text.str(), presses, error)) << path << ": " << error;
    return presses;
}

void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame) {
    const long lastFrame = presses.empty() ? 0 : presses.back().frame;
    std::size_t next = 0;
    for (long frame = 0; game.Driving() && frame <= lastFrame + kFramesAfterLastKey; ++frame) {
        clock.wallSeconds = kReplayFirstSecond + frame / kReplayFramesPerSecond;
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
        if (!game.Driving()) break;
        game.Frame();
        afterFrame();
    }
}
