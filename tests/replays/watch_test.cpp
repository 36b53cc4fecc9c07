// Watching a key file: the game feeds the recorded keys to its window procedure, the bus does
// in every frame what it did when the drive was recorded, the player's keys only stop or quit,
// and nothing is written. A key file that is damaged or belongs to another course is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "app/key_help.h"
#include "app/watching.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class Watch : public ::testing::Test {
protected:
    void SetUp() override { LinkGameData(); }

    // Prepares the shipped drive of course 0 to be watched.
    DriveRecord PrepareShipped(AfterWatching after) {
        std::string error;
        EXPECT_TRUE(PrepareWatch(ShippedDrivePath(0), after, error)) << error;
        return ShippedDrive(0);
    }

    std::string Refusal(const std::string& keyFile) {
        std::string error;
        EXPECT_FALSE(PrepareWatch(keyFile, AfterWatching::EndTheGame, error)) << keyFile;
        return error;
    }

    ScopedWorkDir dir;
};

TEST_F(Watch, TheRecordedDriveComesBackFrameByFrameAndNothingIsWritten) {
    const DriveTrace played = TraceDrive(0, RecordedDrive(0));
    fs::remove(ScoreFileName);
    fs::remove(BestDriveFileName(0));
    const std::vector<std::string> filesBefore = FilesHere();

    const DriveRecord drive = PrepareShipped(AfterWatching::EndTheGame);
    testing::internal::CaptureStdout();
    const DriveTrace watched = TraceWatch(drive);
    const std::string out = testing::internal::GetCapturedStdout();

    ExpectSameDrive(played, watched);
    EXPECT_TRUE(watched.goal);
    EXPECT_EQ(FilesHere(), filesBefore);
    // The frames' clock gives the recorded seconds back exactly.
    EXPECT_EQ(out, "recorded drive: driving 7 s, penalty 0 s, score 7 s\n"
                   "this replay:    driving 7 s, penalty 0 s, score 7 s\n");
}

TEST_F(Watch, ThePlayersKeysOnlyStopOrQuit) {
    const DriveTrace played = TraceDrive(0, RecordedDrive(0));
    const DriveRecord drive = PrepareShipped(AfterWatching::CourseMenu);
    const auto meddle = [](long frame) {
        if (frame != 40) return;
        for (int key : {int{'W'}, int{'Q'}, VK_UP, VK_DOWN, int{'H'}, VK_NUMPAD0 + 9, VK_F8, kGhostKey}) {
            MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(key), 0);
        }
    };
    testing::internal::CaptureStdout();
    ExpectSameDrive(played, TraceWatch(drive, meddle));
    testing::internal::GetCapturedStdout();
}

TEST_F(Watch, StoppingLeadsToTheCourseMenuOrEndsTheGame) {
    MessageBoxRecorder boxes;
    for (AfterWatching after : {AfterWatching::CourseMenu, AfterWatching::EndTheGame}) {
        PrepareShipped(after);
        HeadlessGame game;
        ASSERT_TRUE(game.Start());
        bus->busType = 2;
        BeginPreparedWatch();
        EXPECT_EQ(bus->busType, 0);  // as the drive was recorded
        testing::internal::CaptureStdout();
        for (int frame = 0; frame < 60; ++frame) {
            AdvanceWatch(nullptr);
            game.Frame();
        }
        EXPECT_EQ(KeyHelpTitle(), "キー一覧：走行の再生");  // F1 lists the keys of watching
        MainWindowProc(nullptr, WM_KEYDOWN, VK_SPACE, 0);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("this replay:    stopped before the drive ended"), std::string::npos) << out;
        EXPECT_FALSE(Watching());
        if (after == AfterWatching::CourseMenu) {
            EXPECT_EQ(ScreenState, CourseSelect);
            EXPECT_EQ(menuScreen->CourseCursor, 0);
            EXPECT_EQ(bus->busType, 2);  // the player's own again
        } else {
            EXPECT_FALSE(courseMap) << "the game did not end";
        }
    }
}

TEST_F(Watch, DamagedDrivesAndDrivesOfOtherCoursesAreRefused) {
    DriveRecord header = ShippedDrive(0);
    header.presses.clear();
    WriteText("damaged.keys", FormatDrive({}, header) + "1 Up\n2 W W\n");
    WriteText("headless.keys", "1 Up\n");
    WriteText("nobus.keys", "course 0\ncourse-hash 0000000000000000\n");
    WriteText("nomap.keys", "course 11\nbus 0\ncourse-hash 0000000000000000\n");
    WriteText("course5.keys", "course 5\nbus 0\ncourse-hash 0000000000000000\n");
    fs::remove("5.map");
    WriteText("other.keys", "course 0\nbus 0\ncourse-hash 0123456789abcdef\n");

    EXPECT_EQ(Refusal("missing.keys"), "missing.keys: there is no such file");
    // Never read for ever, nor into all memory.
    ASSERT_EQ(mkfifo("pipe.keys", 0600), 0);
    fs::create_directory("folder.keys");
    { std::ofstream("huge.keys"); }
    fs::resize_file("huge.keys", (16u << 20) + 1);
    EXPECT_EQ(Refusal("pipe.keys"), "pipe.keys: not a regular file");
    EXPECT_EQ(Refusal("/dev/zero"), "/dev/zero: not a regular file");
    EXPECT_EQ(Refusal("folder.keys"), "folder.keys: not a regular file");
    EXPECT_EQ(Refusal("huge.keys"), "huge.keys: larger than a key file can be (16 MB)");
    EXPECT_EQ(Refusal("damaged.keys"), "damaged.keys: line 8: expected a frame number and a key name");
    EXPECT_EQ(Refusal("headless.keys"), "headless.keys: no course line");
    EXPECT_EQ(Refusal("nobus.keys"), "nobus.keys: no bus line");
    EXPECT_EQ(Refusal("nomap.keys"), "nomap.keys: no map line for the user map (course 11)");
    EXPECT_EQ(Refusal("course5.keys"), "course5.keys: the course file 5.map cannot be read");
    EXPECT_EQ(Refusal("other.keys").rfind("other.keys: driven on another course than 0.map (course hash "
                                          "0123456789abcdef, the file here has ",
                                          0),
              0u);

    std::string error;
    EXPECT_FALSE(PrepareBestWatch(3, AfterWatching::CourseMenu, error));
    EXPECT_EQ(error, "no best drive of course 3 in this folder (best-3.keys)");
    fs::copy_file(ShippedDrivePath(0), "best-4.keys");
    EXPECT_FALSE(PrepareBestWatch(4, AfterWatching::CourseMenu, error));
    EXPECT_EQ(error, "best-4.keys: a drive of course 0, not 4");
    fs::rename("pipe.keys", "best-5.keys");
    EXPECT_FALSE(PrepareBestWatch(5, AfterWatching::CourseMenu, error));
    EXPECT_EQ(error, "best-5.keys: not a regular file");

    // Nothing refused is watched.
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    BeginPreparedWatch();
    EXPECT_FALSE(Watching());
    EXPECT_EQ(ScreenState, CourseSelect);
}

TEST_F(Watch, AUserMapIsFoundBesideItsKeyFileAndMustBeTheSameFile) {
    fs::create_directory("drives");
    fs::copy_file("0.map", "drives/mine.map");
    DriveRecord drive = ShippedDrive(0);
    drive.course = UserMapCourse;
    drive.mapFile = "mine.map";
    WriteText("drives/mine.keys", FormatDrive({}, drive));

    std::string error;
    ASSERT_TRUE(PrepareWatch("drives/mine.keys", AfterWatching::EndTheGame, error)) << error;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(TraceWatch(drive).goal);
    testing::internal::GetCapturedStdout();

    WriteBytes("drives/mine.map", ReadBytes("1.map"));
    EXPECT_NE(Refusal("drives/mine.keys").find("driven on another course than drives/mine.map"), std::string::npos);

    // A damaged map would end the game once its window is open: it is refused before.
    for (const auto& [cells, why] : {std::pair(Int32s({3, 2, 2, 17, 1, 21}), "is damaged: only 3 of its 4 cells"),
                                     std::pair(Int32s({3, 21, 1}), "is damaged: 21 by 1 cells, outside 0 to 20")}) {
        WriteBytes("drives/mine.map", cells);
        drive.courseHash = CourseHash(cells);
        WriteText("drives/mine.keys", FormatDrive({}, drive));
        EXPECT_EQ(Refusal("drives/mine.keys"), std::string("drives/mine.keys: the map file drives/mine.map ") + why);
    }
}

}  // namespace
