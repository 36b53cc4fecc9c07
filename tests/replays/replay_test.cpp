// The recorded drives, replayed through the real window procedure and frames: each one must
// reach the goal without a crash, and the practice drive without a penalty. Each names its
// course file and the times the replay measures, so that the game can watch it.
#include <gtest/gtest.h>

#include "records/score_table.h"
#include "replays/drive_keys.h"
#include "support/recorded_drives.h"
#include "support/replay_support.h"
#include "support/test_support.h"

namespace {

class RecordedDrives : public testing::TestWithParam<int> {};

TEST_P(RecordedDrives, ReachTheGoalAndCompleteTheCourse) {
    const int course = GetParam();
    const DriveRecord drive = ShippedDrive(course);
    ASSERT_FALSE(drive.presses.empty());
    ScopedWorkDir dir;
    LinkGameData();
    ReplayOutcome outcome = Replay(course, 0, drive.presses);
    ASSERT_TRUE(outcome.started) << "the game could not start headless";
    EXPECT_TRUE(outcome.goal) << "no goal after " << outcome.frames << " frames"
                              << (outcome.stillDriving ? "" : " (the drive ended in a crash)");
    EXPECT_EQ(outcome.courseState, Completed);
    EXPECT_EQ(outcome.nextCourseState, Open);
    EXPECT_TRUE(outcome.scoreFileWritten);
    EXPECT_EQ(outcome.boxes, 0u);
    std::uint64_t courseHash = 0;
    ASSERT_TRUE(HashCourseFile(std::to_string(course) + ".map", courseHash));
    EXPECT_EQ(drive.course, course);
    EXPECT_EQ(drive.busType, 0);
    EXPECT_TRUE(drive.hasCourseHash);
    EXPECT_EQ(drive.courseHash, courseHash) << "the course changed: record the drive again";
    EXPECT_EQ(drive.drivingSeconds, outcome.drivingSeconds);
    EXPECT_EQ(drive.penaltySeconds, outcome.penaltySeconds);
    EXPECT_EQ(drive.scoreSeconds, outcome.drivingSeconds + outcome.penaltySeconds);
    if (course == 0) {
        EXPECT_EQ(outcome.violationFrames, 0) << "the practice drive broke a rule";
        EXPECT_EQ(outcome.penaltySeconds, 0);
    }
    std::printf("course %d: goal after %ld frames, %ld frames breaking a rule, penalty %d s\n", course,
                outcome.frames, outcome.violationFrames, outcome.penaltySeconds);
}

INSTANTIATE_TEST_SUITE_P(AllCourses, RecordedDrives, testing::Range(0, 11));

}  // namespace
