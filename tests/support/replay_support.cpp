#include "support/replay_support.h"

#include <filesystem>

#include "maptool/drive_session.h"
#include "maptool/headless_game.h"
#include "support/recorded_drives.h"
#include "support/test_support.h"

ReplayOutcome Replay(int course, int busType, const std::vector<KeyPress>& presses) {
    WriteStandInPictures();
    FakeClock clock;
    clock.wallSeconds = kReplayFirstSecond;
    MessageBoxRecorder boxes;
    ReplayOutcome outcome;
    HeadlessGame game;
    outcome.started = game.Start();
    if (!outcome.started) return outcome;
    game.EnterCourse(course, busType);
    PlayDrive(game, clock, presses);
    outcome.goal = game.GoalReached();
    outcome.stillDriving = game.Driving();
    outcome.frames = game.DriveFrames();
    outcome.violationFrames = game.ViolationFrames();
    outcome.drivingSeconds = game.DrivingSeconds();
    outcome.penaltySeconds = game.PenaltySeconds();
    outcome.courseState = game.CourseState(course);
    outcome.nextCourseState = game.CourseState(course + 1);
    outcome.scoreFileWritten = std::filesystem::exists(ScoreFileName);
    outcome.boxes = boxes.boxes.size();
    return outcome;
}
