// quonfel-map drive: the route-following driver takes a bus over a course in the headless
// game and tells how it went; its keys play back to the same goal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "course/course_map.h"
#include "maptool/drive_session.h"
#include "maptool/map_file.h"
#include "maptool/map_text.h"
#include "replays/watch.h"
#include "shared/game_folder.h"
#include "support/course_texts.h"
#include "support/recorded_drives.h"
#include "support/replay_support.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

CourseGrid Parse(const std::string& text) {
    CourseGrid grid;
    std::vector<std::string> problems;
    EXPECT_TRUE(ParseCourseText(text, grid, problems));
    return grid;
}

// The course as 0.map in the current folder, with stand-in pictures, ready for the game.
void PrepareCourseZero(const CourseGrid& grid) {
    WriteBytes("0.map", EncodeMapFile(grid));
    WriteStandInPictures();
}

TEST(DriveCommand, ReachesTheGoalAndTheGameWatchesItsKeysToTheSameGoal) {
    ScopedWorkDir dir;
    WriteText("loop.txt", LoopCourse);
    ProgramRun run = RunMapTool("drive loop.txt --bus 2 --keys 'loop drive.keys'");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out.rfind("loop.txt, bus type 2: goal after ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(" frames a second), penalty "), std::string::npos) << run.out;

    // A drive of the user map on the map that build makes of the text beside it.
    const DriveRecord drive = ReadDriveFile("loop drive.keys");
    const std::vector<KeyPress>& presses = drive.presses;
    ASSERT_FALSE(presses.empty());
    EXPECT_EQ(KeyName(presses.front().key), "Up");  // into drive
    EXPECT_EQ(KeyName(presses.back().key), "Down");  // and back to neutral in the goal
    EXPECT_EQ(drive.course, UserMapCourse);
    EXPECT_EQ(drive.busType, 2);
    EXPECT_EQ(drive.mapFile, fs::absolute("loop.map").string());
    ASSERT_EQ(RunMapTool("build loop.txt loop.map").status, 0);
    WriteStandInPictures();

    std::string error;
    ASSERT_TRUE(PrepareWatch("loop drive.keys", AfterWatching::EndTheGame, error)) << error;
    testing::internal::CaptureStdout();
    const DriveTrace watched = TraceWatch(drive);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(watched.goal);
    EXPECT_NE(out.find("recorded drive: driving " + std::to_string(drive.drivingSeconds) + " s"), std::string::npos)
        << out;
    // The frames the tool reported are the frames the watched drive took.
    EXPECT_NE(run.out.find("goal after " + std::to_string(watched.poses.size()) + " frames"), std::string::npos)
        << run.out << " vs " << watched.poses.size();

    // A drive of a map file names that file.
    ASSERT_EQ(RunMapTool("drive loop.map --bus 2 --keys map.keys").status, 0);
    EXPECT_TRUE(PrepareWatch("map.keys", AfterWatching::EndTheGame, error)) << error;
}

TEST(DriveCommand, ACourseWithProblemsIsNotDrivenAndWrongUseExitsWith2) {
    ScopedWorkDir dir;
    WriteText("broken.txt", "/= == =\\\n|| .. ||\n\\= S> ..\n");
    ProgramRun run = RunMapTool("drive broken.txt");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("broken.txt: there is no goal"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("broken.txt not driven"), std::string::npos) << run.err;
    // A sound course in a file the game refuses.
    WriteBytes("old.map", Int32s({1, 2, 1, 17, 21}));
    run = RunMapTool("drive old.map");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("old.map: the file has version 1"), std::string::npos) << run.err;

    WriteText("loop.txt", LoopCourse);
    for (const char* arguments : {"drive", "drive loop.txt --bus 4", "drive loop.txt --bus", "drive loop.txt --bus -1",
                                  "drive loop.txt --keys", "drive loop.txt other.txt", "drive missing.txt"})
        EXPECT_EQ(RunMapTool(arguments).status, 2) << arguments;
    run = RunMapTool("drive loop.txt --keys no-such-folder/a.keys");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot write no-such-folder/a.keys"), std::string::npos) << run.err;
}

// The game places the bus on the last start code it reads, column by column: here the one on
// the right, which drives up and round into the goal on the left.
TEST(DriveCommand, StartsWhereTheGamePlacesTheBusWhenTheCourseHasTwoStartTiles) {
    ScopedWorkDir dir;
    WriteText("two starts.txt",
              "/= == == == =\\\n"
              "|| .. .. .. ||\n"
              "Gv .. .. .. S^\n"
              "S^ .. .. .. ||\n"
              "\\= == == == =/\n");
    ProgramRun run = RunMapTool("drive 'two starts.txt'");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find(": goal after "), std::string::npos) << run.out;
}

// A TMPDIR that is missing, not a folder or closed to the player changes nothing: the drive
// makes no folder.
TEST(DriveCommand, DrivesWhateverTmpdirIs) {
    ScopedWorkDir dir;
    chmod(dir.Path().c_str(), 0777);
    WriteText("loop.txt", LoopCourse);
    WriteText("a file", "");
    fs::create_directory("closed");
    chmod("closed", 0555);
    for (const char* name : {"missing", "a file", "closed"}) {
        ScopedEnv tmpdir("TMPDIR", (dir.Path() + "/" + name).c_str());
        EXPECT_TRUE(PassesWithoutPrivileges([] {
            ProgramRun run = RunMapTool("drive loop.txt");
            EXPECT_EQ(run.status, 0) << run.out << run.err;
        })) << name;
    }
    EXPECT_TRUE(fs::is_empty("closed"));
}

// The drive of a course the tool holds reads the pictures of the game folder and the course from
// memory, and writes no file anywhere: an interrupted drive leaves nothing behind.
TEST(DriveCourse, ADriveOfAHeldCourseWritesNoFile) {
    ScopedWorkDir game;
    LinkGameData();
    const std::vector<std::string> gameFiles = FilesHere();
    {
        ScopedWorkDir elsewhere;
        fs::create_directory("tmp");
        ScopedEnv tmpdir("TMPDIR", (elsewhere.Path() + "/tmp").c_str());
        SetGameFolder(game.Path());
        const std::unique_ptr<DriveRun> run = DriveOfHeldCourse(CourseGridOf(LoopCourse), 0);
        while (run->Step()) EXPECT_TRUE(fs::is_empty("tmp"));
        SetGameFolder("");
        EXPECT_EQ(DriveEndName(run->Result().end), std::string("goal"));
        EXPECT_EQ(FilesHere(), std::vector<std::string>{"tmp"});
    }
    EXPECT_EQ(FilesHere(), gameFiles);  // no score.dat, no best drive
}

// How a drive that does not reach the goal ends, and where.
TEST(DriveCourse, TellsACrashAndADriveStillGoingWithTheCellOfTheDriversSeat) {
    ScopedWorkDir dir;
    CourseGrid grid = Parse(LoopCourse);
    PrepareCourseZero(grid);
    std::vector<RouteStep> route = RouteFromStart(grid);
    ASSERT_FALSE(route.empty());
    DrivingStyle style = StyleFor(MeasuresOf(0));

    DriveOptions brief;
    brief.frameLimit = 40;
    DriveResult stillGoing = DriveCourse(grid, route, 0, 0, style, brief);
    EXPECT_EQ(stillGoing.end, DriveEnd::OutOfTime);
    EXPECT_EQ(stillGoing.frames, 40);
    EXPECT_EQ(stillGoing.seconds, 1);  // the first key came in frame 1, and 39 frames are over a second
    EXPECT_EQ(stillGoing.endCellX, 0);
    EXPECT_EQ(stillGoing.endCellY, 1);  // the seat has left the start tile upwards

    // A driver who believes the road turns right a row early runs through the wall onto the
    // grass beside it.
    CourseGrid imagined = Parse(
        ".. .. .. .. ..\n"
        "/= == == == =\\\n"
        "S^ .. .. .. Gv\n"
        "|| .. .. .. ||\n"
        "\\= == == == =/\n");
    DriveResult crash = DriveCourse(grid, RouteFromStart(imagined), 0, 0, style);
    EXPECT_EQ(crash.end, DriveEnd::Crash) << DriveEndName(crash.end);
    EXPECT_LE(crash.endCellX, 1);
    EXPECT_EQ(crash.endCellY, 1);
    EXPECT_LT(crash.frames, 200);
}

}  // namespace
