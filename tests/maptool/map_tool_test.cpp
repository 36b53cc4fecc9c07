// The quonfel-map program as a player uses it, and the eleven courses it builds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "maptool/course_check.h"
#include "maptool/course_route.h"
#include "maptool/drive_session.h"
#include "maptool/map_file.h"
#include "replays/drive_keys.h"
#include "support/course_texts.h"
#include "support/recorded_drives.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

TEST(MapTool, BuildWritesTheCheckedCourseAsVersion3) {
    ScopedWorkDir dir;
    WriteText("small.txt", SmallCourse);
    ProgramRun run = RunMapTool("build small.txt small.map");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes("small.map"), Int32s({3, 4, 3, 7, 2, 10, 1, 0, 17, 1, 0, 21, 8, 2, 9}));
}

TEST(MapTool, BuildRefusesACourseWithProblemsAndListsThem) {
    ScopedWorkDir dir;
    WriteText("broken.txt", "/= == =\\\n|| .. ||\n\\= S> ..\n");
    ProgramRun run = RunMapTool("build broken.txt broken.map");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("broken.txt: there is no goal"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("broken.txt: \"S>\" at row 3, column 2 (x=1, y=2): its road on its right side runs into "
                           "empty ground"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("broken.map not written"), std::string::npos);
    EXPECT_TRUE(ReadBytes("broken.map").empty());

    WriteText("typo.txt", "S> =! G>\n");
    run = RunMapTool("build typo.txt typo.map");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("typo.txt: line 1, cell 2: \"=!\""), std::string::npos) << run.err;

    // A file of junk names its first 20 problems, then how many more there are.
    std::string junk;
    for (int cell = 0; cell < 33; ++cell) junk += "?? ";
    WriteText("junk.txt", junk);
    run = RunMapTool("check junk.txt");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 21) << run.err;
    EXPECT_NE(run.err.find("junk.txt: line 1, cell 20: \"??\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\njunk.txt: ... and 13 more problems\n"), std::string::npos) << run.err;
}

TEST(MapTool, PrintTurnsAnyVersionBackIntoText) {
    ScopedWorkDir dir;
    // Version 2 stores codes plus 64, and 63 or 64 for empty ground.
    WriteBytes("old.map", Int32s({2, 4, 3, 71, 66, 74, 65, 63, 81, 65, 64, 85, 72, 66, 73}));
    ProgramRun run = RunMapTool("print old.map");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("(map file version 2)"), std::string::npos);
    EXPECT_NE(run.out.find(SmallCourse), std::string::npos) << run.out;

    // The printed text builds into the same course.
    WriteText("old.txt", run.out);
    EXPECT_EQ(RunMapTool("build old.txt new.map").status, 0);
    EXPECT_EQ(ReadBytes("new.map"), Int32s({3, 4, 3, 7, 2, 10, 1, 0, 17, 1, 0, 21, 8, 2, 9}));

    // Version 3 with -1 for empty ground.
    WriteBytes("v3.map", Int32s({3, 1, 2, -1, 17}));
    run = RunMapTool("print v3.map");
    EXPECT_NE(run.out.find("\n..\nS>\n"), std::string::npos) << run.out;
}

TEST(MapTool, CheckReadsMapFilesAndTextsAlike) {
    ScopedWorkDir dir;
    // Named with an escape sequence, which reaches the terminal only escaped.
    WriteText("small\x1b[2J.txt", SmallCourse);
    ProgramRun run = RunMapTool("check 'small\x1b[2J.txt'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "small\\x1b[2J.txt: ok, 4 by 3 cells\n");

    // A short map file: its own flaw and what it does to the course are both told.
    WriteBytes("short.map", Int32s({3, 4, 3, 7, 2, 10, 1, 0, 17, 1, 0, 21, 8, 2}));
    run = RunMapTool("check short.map");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("short.map: the file ends after 11 of its 12 cell values"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\"||\" at row 2, column 4 (x=3, y=1): its road on its bottom side runs into empty"),
              std::string::npos)
        << run.err;
}

TEST(MapTool, ASecondGoalTileIsWarnedAboutButTheMapIsStillWritten) {
    ScopedWorkDir dir;
    WriteText("two.txt", "/= == == == =\\\n|| .. .. .. ||\n\\= S> G> G> =/\n");
    ProgramRun run = RunMapTool("build two.txt two.map");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("two.txt: warning: there are 2 goal tiles"), std::string::npos) << run.err;
    EXPECT_FALSE(ReadBytes("two.map").empty());
}

TEST(MapTool, WrongUseAndUnreadableFilesExitWith2) {
    ScopedWorkDir dir;
    EXPECT_EQ(RunMapTool("").status, 2);
    EXPECT_EQ(RunMapTool("build only-one-argument").status, 2);
    EXPECT_EQ(RunMapTool("paint x.map").status, 2);
    ProgramRun run = RunMapTool("check missing.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot read missing.txt: there is no such file"), std::string::npos);
    WriteText("small.txt", SmallCourse);
    EXPECT_EQ(RunMapTool("build small.txt no-such-folder/small.map").status, 2);
    EXPECT_EQ(RunMapTool("print missing.map").status, 2);
    WriteBytes("wide.map", Int32s({3, 30, 1}));
    EXPECT_EQ(RunMapTool("print wide.map").status, 1);
    // Asked for, the usage and the version go to stdout with status 0.
    for (const char* asked : {"--help", "--version"}) {
        run = RunMapTool(asked);
        EXPECT_EQ(run.status, 0) << asked;
        EXPECT_EQ(run.out.rfind(asked == std::string("--help") ? "usage: quonfel-map" : "quonfel-map ", 0), 0u) << run.out;
    }

    // A pipe, a device, a folder or a huge file: one line at once, never a wait nor an abort.
    mkfifo("pipe", 0644);
    fs::create_directory("folder");
    WriteBytes("huge", {});
    fs::resize_file("huge", 1u << 30);
    for (const char* input : {"check pipe", "check /dev/zero", "check folder", "check huge", "print pipe",
                              "build pipe out.map", "render folder out.bmp", "drive /dev/zero", "edit folder",
                              "edit pipe"}) {
        run = RunMapTool(input);
        EXPECT_EQ(run.status, 2) << input;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("quonfel-map: cannot read ", 0), 0u) << run.err;
    }
}

// A file that was read but holds no course the game could load is a problem found, whatever
// the command.
TEST(MapTool, AFileWithoutAUsableCourseExitsWith1FromEveryCommand) {
    ScopedWorkDir dir;
    WriteText("typo.txt", "S> =! G>\n");
    WriteBytes("wide.map", Int32s({3, 30, 1}));
    std::string wideRow;
    for (int column = 0; column < 21; ++column) wideRow += "== ";
    WriteText("wide.txt", "S> " + wideRow + "G>\n");
    for (const std::string file : {"typo.txt", "wide.map", "wide.txt"})
        for (const std::string command : {"check ", "build ", "render ", "drive "}) {
            std::string outputs = command == "build " ? " out.map" : command == "render " ? " out.bmp" : "";
            ProgramRun run = RunMapTool(command + file + outputs);
            EXPECT_EQ(run.status, 1) << command << file << ": " << run.err;
            EXPECT_NE(run.err.find(file + ": "), std::string::npos) << command << file << ": " << run.err;
        }
    EXPECT_FALSE(fs::exists("out.map"));
    EXPECT_FALSE(fs::exists("out.bmp"));
}

// What stood under the name to write (the player's read-only file, a folder) is left as it was.
TEST(MapTool, AFailedWriteRemovesNothingThatWasThereBefore) {
    ScopedWorkDir dir;
    chmod(dir.Path().c_str(), 0777);
    WriteText("small.txt", SmallCourse);
    for (const char* name : {"mine.map", "mine.bmp"}) {
        WriteText(name, "mine");
        chmod(name, 0444);
    }
    EXPECT_TRUE(PassesWithoutPrivileges([] {
        EXPECT_EQ(RunMapTool("build small.txt mine.map").status, 2);
        EXPECT_EQ(RunMapTool("render small.txt mine.bmp").status, 2);
    }));
    EXPECT_EQ(ReadText("mine.map"), "mine");
    EXPECT_EQ(ReadText("mine.bmp"), "mine");

    fs::create_directory("folder.map");
    fs::create_directory("folder.bmp");
    EXPECT_EQ(RunMapTool("build small.txt folder.map").status, 2);
    ProgramRun run = RunMapTool("render small.txt folder.bmp");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot write folder.bmp"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_directory("folder.map"));
    EXPECT_TRUE(fs::is_directory("folder.bmp"));

    // A pipe as the output is refused at once instead of hanging the tool.
    mkfifo("pipe", 0644);
    for (const char* command : {"build small.txt pipe", "render small.txt pipe", "drive small.txt --keys pipe"}) {
        run = RunMapTool(command);
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_EQ(run.err, "quonfel-map: cannot write pipe: not a regular file\n") << command;
    }
}

// A drive needs every picture of the game, not only the tiles: without one nothing is driven
// and no key file is written.
TEST(MapTool, ADriveWithoutAPictureOfTheGameExitsWith2AndWritesNoKeys) {
    ScopedWorkDir dir;
    fs::create_directory("tool");
    fs::copy_file(std::string(QUONFEL_GAME_DIR) + "/quonfel-map", "tool/quonfel-map");
    for (const auto& entry : fs::directory_iterator(QUONFEL_GAME_DIR))
        if (entry.path().extension() == ".bmp" && entry.path().filename() != "front.bmp")
            fs::copy_file(entry.path(), "tool" / entry.path().filename());
    fs::copy(std::string(QUONFEL_GAME_DIR) + "/en", "tool/en");
    WriteText("small.txt", SmallCourse);
    const int raw = std::system("tool/quonfel-map drive small.txt --keys small.keys >out.txt 2>err.txt");
    EXPECT_EQ(WEXITSTATUS(raw), 2) << ReadText("err.txt");
    EXPECT_NE(ReadText("err.txt").find("cannot all be loaded"), std::string::npos) << ReadText("err.txt");
    EXPECT_FALSE(fs::exists("small.keys"));
}

// The courses the game ships, as built into the game folder.
std::vector<CourseGrid> ShippedCourses() {
    std::vector<CourseGrid> courses;
    for (int n = 0; n <= 10; ++n) {
        CourseGrid grid;
        int version = 0;
        std::vector<std::string> problems;
        std::string path = std::string(QUONFEL_GAME_DIR) + "/" + std::to_string(n) + ".map";
        EXPECT_TRUE(DecodeMapFile(ReadBytes(path), grid, version, problems)) << path;
        EXPECT_TRUE(problems.empty()) << path;
        EXPECT_EQ(TextsOf(CheckCourse(grid)), std::vector<std::string>{}) << path;
        EXPECT_EQ(TextsOf(CourseWarnings(grid)), std::vector<std::string>{}) << path;
        courses.push_back(grid);
    }
    return courses;
}

TEST(ShippedCourses, AreSoundAndTogetherUseEveryTileStartAndGoal) {
    std::set<int> used;
    for (const CourseGrid& grid : ShippedCourses()) used.insert(grid.cells.begin(), grid.cells.end());
    for (int code = 1; code <= 23; ++code) EXPECT_EQ(used.count(code), 1u) << "tile code " << code << " unused";
}

// How long a course's recorded drive is, in frames: it ends with the shift to neutral in the
// goal, so its last key press is its last frame.
long RecordedDriveLength(int course) {
    const std::vector<KeyPress> presses = RecordedDrive(course);
    return presses.empty() ? 0 : presses.back().frame;
}

TEST(ShippedCourses, RecordedDrivesGrowLongerFromEachCourseToTheNext) {
    long previous = RecordedDriveLength(0);
    EXPECT_GT(previous, 0);
    for (int course = 1; course <= 10; ++course) {
        long length = RecordedDriveLength(course);
        EXPECT_GT(length, previous) << "course " << course << " drives no longer than course " << course - 1;
        previous = length;
    }
}

// How a route turns in a cell: +1 to the right, -1 to the left, 0 straight on (y grows downwards).
int TurnAt(const RouteStep& step) {
    if (step.inSide == NoSide || step.outSide == NoSide) return 0;
    const SideStep& in = StepOf(step.inSide);  // the bus travels the opposite way
    const SideStep& out = StepOf(step.outSide);
    int cross = in.dy * out.dx - in.dx * out.dy;
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

bool RouteDrivesOver(const CourseGrid& grid, const std::vector<RouteStep>& route, std::int32_t code) {
    for (const RouteStep& step : route)
        if (grid.At(step.x, step.y) == code) return true;
    return false;
}

// Two turns opposite ways with at most one straight tile between them.
bool HasSBend(const std::vector<RouteStep>& route) {
    int lastTurn = 0;
    std::size_t lastAt = 0;
    for (std::size_t n = 0; n < route.size(); ++n) {
        int turn = TurnAt(route[n]);
        if (turn == 0) continue;
        if (turn == -lastTurn && n - lastAt <= 2) return true;
        lastTurn = turn;
        lastAt = n;
    }
    return false;
}

TEST(ShippedCourses, EarlyCoursesTurnBothWaysAndTakeAJunction) {
    std::vector<CourseGrid> courses = ShippedCourses();
    for (int course = 1; course <= 3; ++course) {
        const CourseGrid& grid = courses[course];
        std::vector<RouteStep> route = RouteFromStart(grid);
        std::set<int> turns;
        for (const RouteStep& step : route) turns.insert(TurnAt(step));
        EXPECT_EQ(turns.count(-1), 1u) << "course " << course << " has no left turn";
        EXPECT_EQ(turns.count(1), 1u) << "course " << course << " has no right turn";
        bool junction = false;
        for (std::int32_t code = 11; code <= 14; ++code) junction = junction || RouteDrivesOver(grid, route, code);
        EXPECT_TRUE(junction) << "course " << course << " drives over no junction";
    }
}

TEST(ShippedCourses, MiddleCoursesTogetherDriveCrossingsPartLaneTilesAndSBends) {
    std::vector<CourseGrid> courses = ShippedCourses();
    std::set<std::int32_t> driven;
    int sBendCourses = 0;
    for (int course = 4; course <= 6; ++course) {
        std::vector<RouteStep> route = RouteFromStart(courses[course]);
        for (const RouteStep& step : route) driven.insert(courses[course].At(step.x, step.y));
        if (HasSBend(route)) ++sBendCourses;
    }
    for (std::int32_t code : {3, 4, 5, 6, 15})
        EXPECT_EQ(driven.count(code), 1u) << "tile code " << code << " is driven over on no middle course";
    EXPECT_GE(sBendCourses, 2);
}

// The last courses reach over more than half of the largest grid, and their goals are
// approached from all four directions.
TEST(ShippedCourses, LastCoursesSpreadOverTheGridAndMeetTheirGoalsFromEveryDirection) {
    std::vector<CourseGrid> courses = ShippedCourses();
    std::set<std::int32_t> goals;
    for (int course = 7; course <= 10; ++course) {
        const CourseGrid& grid = courses[course];
        int left = grid.xCount, top = grid.yCount, right = -1, bottom = -1;
        for (int x = 0; x < grid.xCount; ++x)
            for (int y = 0; y < grid.yCount; ++y) {
                std::int32_t code = grid.At(x, y);
                if (code < 1 || code > 23) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                if (IsGoalCode(code)) goals.insert(code);
            }
        EXPECT_GT((right - left + 1) * (bottom - top + 1), 20 * 20 / 2) << "course " << course;
    }
    EXPECT_EQ(goals, (std::set<std::int32_t>{20, 21, 22, 23}));
}

}  // namespace
