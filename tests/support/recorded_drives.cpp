#include "support/recorded_drives.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/watching.h"
#include "replays/watch.h"

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

std::string ShippedDrivePath(int course) {
    return std::string(QUONFEL_SOURCE_DIR) + "/replays/" + std::to_string(course) + ".keys";
}

DriveRecord ShippedDrive(int course) { return ReadDriveFile(ShippedDrivePath(course)); }

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

void WatchDrive(HeadlessGame& game, FakeClock& clock, const DriveRecord& drive,
                const std::function<void(long)>& playerKeys, const std::function<void()>& afterFrame) {
    const auto keysOf = [&](long frame) {
        playerKeys(frame);
        AdvanceWatch(nullptr);
    };
    RunDriveFrames(game, clock, drive.presses.empty() ? 0 : drive.presses.back().frame, keysOf, afterFrame);
}

void PlayDrive(HeadlessGame& game, FakeClock& clock, const std::vector<KeyPress>& presses,
               const std::function<void()>& afterFrame) {
    std::size_t next = 0;
    const auto pressKeysOf = [&](long frame) {
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
    };
    RunDriveFrames(game, clock, presses.empty() ? 0 : presses.back().frame, pressKeysOf, afterFrame);
}

DriveTrace TraceDrive(int course, const std::vector<KeyPress>& presses) {
    FakeClock clock;
    MessageBoxRecorder boxes;
    HeadlessGame game;
    DriveTrace trace;
    EXPECT_TRUE(game.Start());
    game.EnterCourse(course, 0);
    PlayDrive(game, clock, presses, [&] { trace.poses.push_back(game.Pose()); });
    trace.goal = game.GoalReached();
    return trace;
}

DriveTrace TraceWatch(const DriveRecord& drive, const std::function<void(long)>& playerKeys) {
    FakeClock clock;
    MessageBoxRecorder boxes;
    HeadlessGame game;
    DriveTrace trace;
    EXPECT_TRUE(game.Start());
    BeginPreparedWatch();
    EXPECT_TRUE(Watching());
    WatchDrive(game, clock, drive, playerKeys, [&] { trace.poses.push_back(game.Pose()); });
    trace.goal = game.GoalReached();
    FinishWatch();
    return trace;
}

void ExpectSameDrive(const DriveTrace& expected, const DriveTrace& actual) {
    EXPECT_EQ(actual.goal, expected.goal);
    EXPECT_EQ(actual.poses.size(), expected.poses.size());
    for (std::size_t frame = 0; frame < expected.poses.size() && frame < actual.poses.size(); ++frame) {
        const BusPose& e = expected.poses[frame];
        const BusPose& a = actual.poses[frame];
        const bool same = a.x == e.x && a.y == e.y && a.heading == e.heading && a.speed == e.speed &&
                          a.steering == e.steering && a.gear == e.gear;
        if (!same) {
            ADD_FAILURE() << "frame " << frame << ": bus at " << a.x << "," << a.y << " heading " << a.heading
                          << " speed " << a.speed << ", expected " << e.x << "," << e.y << " heading " << e.heading
                          << " speed " << e.speed;
            return;
        }
    }
}
