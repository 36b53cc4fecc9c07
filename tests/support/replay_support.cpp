#include "support/replay_support.h"

#include <filesystem>

#include "app/headless_game.h"
#include "platform/surface.h"
#include "support/recorded_drives.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

void WriteStandInPictures() {
    auto ensure = [](const std::string& name, int width, int height) {
        if (!fs::exists(name + ".bmp")) Surface::Create(width, height)->SaveBmp(name + ".bmp");
    };
    for (int tile = 0; tile < 24; ++tile) ensure(std::to_string(tile), 128, 128);
    for (const char* name : {"front", "back", "gear", "alarm", "discontinue", "goalin", "menu1", "number", "menu2"})
        ensure(name, 640, 480);
}

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
    outcome.scoreFileWritten = fs::exists(ScoreFileName);
    outcome.boxes = boxes.boxes.size();
    return outcome;
}
