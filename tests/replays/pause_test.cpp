// A drive paused for five seconds: nothing moves or counts while it stands, and it ends, is
// timed and is recorded exactly as the same drive without the pause.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/app.h"
#include "app/keys.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "replays/drive_recorder.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

namespace {
constexpr int kCourse = 0;
constexpr long kPausedBefore = 100;  // the frame, well into the drive
constexpr int kPausedSeconds = 5;

// The shipped drive of course 0, with P before frame kPausedBefore and again five seconds
// later; between them two frames are asked for and W is pressed.
DriveTrace DriveWithAPause(FakeClock& clock, HeadlessGame& game) {
    const std::vector<KeyPress> presses = RecordedDrive(kCourse);
    DriveTrace trace;
    std::size_t next = 0;
    std::int64_t pausedSeconds = 0;
    game.EnterCourse(kCourse, 0);
    for (long frame = 0; game.Driving() && frame < 400; ++frame) {
        clock.wallSeconds = kReplayFirstSecond + frame / kReplayFramesPerSecond + pausedSeconds;
        if (frame == kPausedBefore) {
            const BusPose before = game.Pose();
            game.Press('P');
            EXPECT_TRUE(DrivingPaused());
            pausedSeconds = kPausedSeconds;
            clock.wallSeconds += kPausedSeconds;
            clock.counter += kPausedSeconds * clock.frequency;
            game.Frame();
            game.Press('W');
            game.Frame();
            EXPECT_EQ(game.Pose().x, before.x);
            EXPECT_EQ(game.Pose().speed, before.speed);
            EXPECT_EQ(DrivingFramesDrawn(), kPausedBefore);
            EXPECT_EQ(game.DrivingSeconds(), 3);
            game.Press(VK_PAUSE);
            EXPECT_FALSE(DrivingPaused());
        }
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
        if (!game.Driving()) break;
        game.Frame();
        trace.poses.push_back(game.Pose());
    }
    trace.goal = game.GoalReached();
    return trace;
}
}  // namespace

TEST(Pause, APausedDriveIsTimedAndRecordedAsTheSameDriveWithoutThePause) {
    ScopedWorkDir dir;
    LinkGameData();
    const DriveTrace unpaused = TraceDrive(kCourse, RecordedDrive(kCourse));
    std::remove(ScoreFileName);
    std::remove(BestDriveFileName(kCourse).c_str());
    FakeClock clock;
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ExpectSameDrive(unpaused, DriveWithAPause(clock, game));
    EXPECT_EQ(game.DrivingSeconds(), 7);  // as the shipped drive's own record says
    EXPECT_EQ(game.PenaltySeconds(), 0);
    const DriveRecord recorded = ReadDriveFile(BestDriveFileName(kCourse));
    EXPECT_EQ(recorded.drivingSeconds, 7);
    ASSERT_EQ(recorded.presses.size(), RecordedDrive(kCourse).size());
    for (std::size_t i = 0; i < recorded.presses.size(); ++i) {
        EXPECT_EQ(recorded.presses[i].frame, RecordedDrive(kCourse)[i].frame);
        EXPECT_EQ(recorded.presses[i].key, RecordedDrive(kCourse)[i].key);
    }
}

// With pause-on-focus-loss on, a drive pauses when the window loses the focus, and stays so.
TEST(Pause, FocusLossPausesADriveOnlyWhenThePreferencesAskForIt) {
    ScopedWorkDir dir;
    LinkGameData();
    FakeClock clock;
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    game.EnterCourse(kCourse, 0);
    game.Frame();
    for (const bool asked : {false, true}) {
        GameSettings.pauseOnFocusLoss = asked;
        MainWindowProc(nullptr, WM_KILLFOCUS, 0, 0);
        MainWindowProc(nullptr, WM_PAINT, 0, 0);
        EXPECT_EQ(DrivingPaused(), asked);
    }
    GameSettings.pauseOnFocusLoss = false;
    game.Press(VK_RETURN);  // Enter keeps its meaning: back to the course menu
    EXPECT_EQ(ScreenState, CourseSelect);
    EXPECT_FALSE(DrivingPaused());
}
