// The recorded drives, replayed through the real window procedure and frames: each one must
// reach the goal without a crash, and the practice drive without a penalty.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/surface.h"
#include "records/score_table.h"
#include "support/recorded_drives.h"

namespace fs = std::filesystem;

namespace {

// Bitmaps not in the game folder get plain stand-ins of a size that holds every picture the
// frame copies from: the course rules never read pixels.
void FillMissingBitmaps() {
    const char* singles[] = {"front", "back", "gear", "alarm", "discontinue", "goalin", "menu1", "number", "menu2"};
    auto ensure = [](const std::string& name, int width, int height) {
        if (!fs::exists(name + ".bmp")) Surface::Create(width, height)->SaveBmp(name + ".bmp");
    };
    for (int tile = 0; tile < 24; ++tile) ensure(std::to_string(tile), 128, 128);
    for (const char* name : singles) ensure(name, 640, 480);
}

struct ReplayOutcome {
    bool started = false;
    bool goal = false;
    bool stillDriving = false;
    long frames = 0;
    long violationFrames = 0;
    std::int32_t penaltySeconds = 0;
    std::int32_t courseState = Locked;
    std::int32_t nextCourseState = Locked;
    bool scoreFileWritten = false;
    std::size_t boxes = 0;
};

ReplayOutcome Replay(int course, const std::vector<KeyPress>& presses) {
    ScopedWorkDir dir;
    LinkGameData();
    FillMissingBitmaps();
    FakeClock clock;
    clock.wallSeconds = kReplayFirstSecond;
    MessageBoxRecorder boxes;
    ReplayOutcome outcome;
    HeadlessGame game;
    outcome.started = game.Start();
    if (!outcome.started) return outcome;
    game.EnterCourse(course, 0);
    PlayDrive(game, clock, presses);
    outcome.goal = game.GoalReached();
    outcome.stillDriving = game.Driving();
    outcome.frames = game.DriveFrames();
    outcome.violationFrames = game.ViolationFrames();
    outcome.penaltySeconds = game.PenaltySeconds();
    outcome.courseState = game.CourseState(course);
    outcome.nextCourseState = game.CourseState(course + 1);
    outcome.scoreFileWritten = fs::exists(ScoreFileName);
    outcome.boxes = boxes.boxes.size();
    return outcome;
}

class RecordedDrives : public testing::TestWithParam<int> {};

TEST_P(RecordedDrives, ReachTheGoalAndCompleteTheCourse) {
    const int course = GetParam();
    std::vector<KeyPress> presses = RecordedDrive(course);
    ASSERT_FALSE(presses.empty());
    ReplayOutcome outcome = Replay(course, presses);
    ASSERT_TRUE(outcome.started) << "the game could not start headless";
    EXPECT_TRUE(outcome.goal) << "no goal after " << outcome.frames << " frames"
                              << (outcome.stillDriving ? "" : " (the drive ended in a crash)");
    EXPECT_EQ(outcome.courseState, Completed);
    EXPECT_EQ(outcome.nextCourseState, Open);
    EXPECT_TRUE(outcome.scoreFileWritten);
    EXPECT_EQ(outcome.boxes, 0u);
    if (course == 0) {
        EXPECT_EQ(outcome.violationFrames, 0) << "the practice drive broke a rule";
        EXPECT_EQ(outcome.penaltySeconds, 0);
    }
    std::printf("course %d: goal after %ld frames, %ld frames breaking a rule, penalty %d s\n", course,
                outcome.frames, outcome.violationFrames, outcome.penaltySeconds);
}

INSTANTIATE_TEST_SUITE_P(AllCourses, RecordedDrives, testing::Range(0, 11));

}  // namespace
