// A drive paused for five seconds: nothing moves or counts while it stands, and it is timed
// and recorded exactly as the same drive without the pause.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/app.h"
#include "app/keys.h"
#include "platform/surface.h"
#include "records/score_table.h"
#include "replays/drive_recorder.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

constexpr long kPausedBefore = 100;  // the frame, well into course 0's shipped drive
constexpr int kPausedSeconds = 5;

// Pixels unlike the frame the pause began on, but for the label: writing from (152, 92) on its black box.
int PixelsOffThePausedPicture(const Surface& moment) {
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const Colorref pixel = offscreen->PixelAt(x, y);
            const bool onLabel = x >= 142 && x < 254 && y >= 82 && y < 122;
            wrong += onLabel ? (pixel == Rgb(255, 255, 0) ? x < 152 || y < 92 : pixel != Rgb(0, 0, 0)) : pixel != moment.PixelAt(x, y);
        }
    return wrong;
}

TEST(Pause, APausedDriveIsTimedAndRecordedAsTheSameDriveWithoutThePause) {
    ScopedWorkDir dir;
    LinkGameData();
    const std::vector<KeyPress> presses = RecordedDrive(0);
    const DriveTrace unpaused = TraceDrive(0, presses);
    std::remove(ScoreFileName);
    std::remove(BestDriveFileName(0).c_str());
    FakeClock clock;
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    game.EnterCourse(0, 0);
    DriveTrace paused;
    std::size_t next = 0;
    for (long frame = 0; game.Driving() && frame < 400; ++frame) {
        clock.wallSeconds = kReplayFirstSecond + frame / kReplayFramesPerSecond + (frame > kPausedBefore ? kPausedSeconds : 0);
        if (frame == kPausedBefore) {
            const BusPose before = game.Pose();
            const std::unique_ptr<Surface> moment = Surface::Create(640, 480);
            moment->BltFast(0, 0, *offscreen, {0, 0, 640, 480}, false);
            game.Press('P');
            clock.wallSeconds += kPausedSeconds;
            clock.counter += kPausedSeconds * clock.frequency;
            game.Frame();
            game.Press('W');  // does nothing while paused
            game.Frame();
            EXPECT_TRUE(before.x == game.Pose().x && before.speed == game.Pose().speed && DrivingPaused());
            EXPECT_TRUE(DrivingFramesDrawn() == kPausedBefore && game.DrivingSeconds() == 3);
            EXPECT_EQ(PixelsOffThePausedPicture(*moment), 0);
            game.Press(VK_PAUSE);
        }
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
        if (!game.Driving()) break;
        game.Frame();
        paused.poses.push_back(game.Pose());
    }
    paused.goal = game.GoalReached();
    ExpectSameDrive(unpaused, paused);
    EXPECT_EQ(game.DrivingSeconds(), 7);  // as the shipped drive's own record says
    const DriveRecord recorded = ReadDriveFile(BestDriveFileName(0));
    EXPECT_TRUE(recorded.drivingSeconds == 7 && recorded.penaltySeconds == 0);
    ASSERT_EQ(recorded.presses.size(), presses.size());  // no P, no W while paused
    for (std::size_t i = 0; i < presses.size(); ++i)
        EXPECT_TRUE(recorded.presses[i].frame == presses[i].frame && recorded.presses[i].key == presses[i].key) << i;

    // Losing the focus pauses only with pause-on-focus-loss; Enter still leaves the drive.
    game.Press(VK_RETURN);  // from the result screen to the course menu
    game.EnterCourse(0, 0);
    GameSettings.pauseOnFocusLoss = true;
    MainWindowProc(nullptr, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(DrivingPaused());  // no frame of the drive yet to rest on
    game.Frame();
    for (const bool asked : {false, true}) {
        GameSettings.pauseOnFocusLoss = asked;
        MainWindowProc(nullptr, WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(DrivingPaused(), asked);
    }
    GameSettings.pauseOnFocusLoss = false;
    game.Press(VK_RETURN);
    EXPECT_EQ(ScreenState, CourseSelect);
}
