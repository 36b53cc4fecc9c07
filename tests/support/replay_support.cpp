#include "support/replay_support.h"

#include <filesystem>

#include "maptool/drive_session.h"
#include "maptool/headless_game.h"
#include "support/test_support.h"

namespace {
constexpr std::int64_t FirstSecond = 1700000000;
// Frames to keep running after the last key, in case the drive only ends later.
constexpr long FramesAfterLastKey = DriveFramesPerSecond * 5;
}  // namespace

ReplayOutcome Replay(int course, int busType, const std::vector<KeyPress>& presses) {
    WriteStandInPictures();
    FakeClock clock;
    clock.wallSeconds = FirstSecond;
    MessageBoxRecorder boxes;
    ReplayOutcome outcome;
    HeadlessGame game;
    outcome.started = game.Start();
    if (!outcome.started) return outcome;
    game.EnterCourse(course, busType);
    long lastFrame = presses.empty() ? 0 : presses.back().frame;
    std::size_t next = 0;
    for (long frame = 0; game.Driving() && frame <= lastFrame + FramesAfterLastKey; ++frame) {
        clock.wallSeconds = FirstSecond + frame / DriveFramesPerSecond;
        while (next < presses.size() && presses[next].frame == frame) game.Press(presses[next++].key);
        if (!game.Driving()) break;
        game.Frame();
    }
    outcome.goal = game.GoalReached();
    outcome.stillDriving = game.Driving();
    outcome.frames = game.DriveFrames();
    outcome.violationFrames = game.ViolationFrames();
    outcome.penaltySeconds = game.PenaltySeconds();
    outcome.courseState = game.CourseState(course);
    outcome.nextCourseState = game.CourseState(course + 1);
    outcome.scoreFileWritten = std::filesystem::exists(ScoreFileName);
    outcome.boxes = boxes.boxes.size();
    return outcome;
}
