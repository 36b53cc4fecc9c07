// The game records every drive through its window procedure and keeps the one that sets a
// new best time as best-N.keys; played back, that file drives the same bus frame by frame to
// the same goal. A paused drive is recorded as the same drive without the pause, and each
// course of the shelf keeps a best drive of its own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/app.h"
#include "app/keys.h"
#include "app/map_to_play.h"
#include "course/course_map.h"
#include "platform/dialogs.h"
#include "platform/file_save.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "menus/shelf_screen.h"
#include "records/score_table.h"
#include "records/screen_fixture.h"
#include "records/shelf.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCourse = 2;  // turns both ways

void ExpectSamePresses(const std::vector<KeyPress>& expected, const std::vector<KeyPress>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].frame, expected[i].frame) << "press " << i;
        EXPECT_EQ(actual[i].key, expected[i].key) << "press " << i;
    }
}

// score.dat with a best time for the course (a save keeps a lower time of the file's).
void StoreBestTime(int course, std::int32_t seconds) {
    fs::remove(ScoreFileName);
    ScoreTable table;
    table.Current(course).courseState = Completed;
    table.Current(course).bestTime = seconds;
    table.Save();
}

class BestDrive : public ::testing::Test {
protected:
    void SetUp() override { LinkGameData(); }
    ScopedWorkDir dir;
};

TEST_F(BestDrive, RecordedThroughTheWindowProcedureItPlaysBackFrameByFrame) {
    const DriveRecord shipped = ShippedDrive(kCourse);
    const DriveTrace driven = TraceDrive(kCourse, shipped.presses);
    ASSERT_TRUE(driven.goal);

    const std::string bestFile = BestDriveFileName(kCourse);
    const DriveRecord best = ReadDriveFile(bestFile);
    std::uint64_t courseHash = 0;
    ASSERT_TRUE(HashCourseFile("2.map", courseHash));
    EXPECT_EQ(best.course, kCourse);
    EXPECT_EQ(best.busType, 0);
    EXPECT_EQ(best.courseHash, courseHash);
    EXPECT_TRUE(best.mapFile.empty());
    EXPECT_EQ(best.drivingSeconds, shipped.drivingSeconds);
    EXPECT_EQ(best.penaltySeconds, shipped.penaltySeconds);
    EXPECT_EQ(best.scoreSeconds, shipped.scoreSeconds);
    ExpectSamePresses(shipped.presses, best.presses);

    // The same time again is no new best: the file stays as it was (marked, so that writing
    // the same drive again would show).
    WriteText(bestFile, "# kept\n" + ReadText(bestFile));
    const std::vector<std::uint8_t> bytes = ReadBytes(bestFile);
    ExpectSameDrive(driven, TraceDrive(kCourse, best.presses));
    EXPECT_EQ(ReadBytes(bestFile), bytes);
}

TEST_F(BestDrive, OnlyANewBestTimeIsKept) {
    const std::vector<KeyPress> presses = RecordedDrive(kCourse);
    const std::string bestFile = BestDriveFileName(kCourse);
    WriteText(bestFile, "# an older best\n");

    StoreBestTime(kCourse, 5);  // better than this drive
    ASSERT_TRUE(TraceDrive(kCourse, presses).goal);
    EXPECT_EQ(ReadText(bestFile), "# an older best\n");

    StoreBestTime(kCourse, 500);
    ASSERT_TRUE(TraceDrive(kCourse, presses).goal);
    ExpectSamePresses(presses, ReadDriveFile(bestFile).presses);

    // A drive that ends in a wall is not kept, nor one given up with Enter.
    fs::remove(bestFile);
    fs::remove(ScoreFileName);
    EXPECT_FALSE(TraceDrive(kCourse, {{1, VK_UP}, {2, 'W'}, {2, 'W'}, {2, 'W'}, {2, 'W'}, {2, 'W'}, {3, 'U'}}).goal);
    EXPECT_FALSE(TraceDrive(kCourse, {{1, VK_UP}, {2, 'W'}, {40, VK_RETURN}}).goal);
    EXPECT_FALSE(fs::exists(bestFile));
}

// Without its start tile the bus starts where the drive before left it, which a watch cannot
// know: such a drive is not kept, whatever its time.
TEST_F(BestDrive, ADriveThatDidNotStartOnAStartTileIsNotKept) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    const auto keptAfter = [](const std::function<void(CourseMap&)>& change, int course = 0) {
        fs::remove(BestDriveFileName(course));
        courseMap->LoadCourse(course);
        change(*courseMap);
        BeginDriveRecording(course, 0, courseMap->mapFileRead);
        SaveBestDrive(10, 0, 10);
        return fs::exists(BestDriveFileName(course));
    };
    // Courses 0, 1, 2 and 10 start facing right, down, left and up.
    for (int course : {0, 1, 2, 10}) EXPECT_TRUE(keptAfter([](CourseMap&) {}, course)) << course;
    EXPECT_FALSE(keptAfter([](CourseMap& map) { map.grid[map.startCellX][map.startCellY] = TileEmpty; }));
    EXPECT_FALSE(keptAfter([](CourseMap& map) { map.lastCellX = map.startCellX - 1; }));
}

// Two games in one folder, started from the same table, reach the goal of a course one after
// the other: in either order score.dat keeps the better time and what each game opened, the
// later game's table takes them, and best-N.keys keeps the faster drive.
TEST_F(BestDrive, TwoGamesInOneFolderKeepTheBetterTimeAndItsDrive) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    courseMap->LoadCourse(kCourse);
    for (const auto& [first, second] : {std::pair<int, int>{5, 11}, {11, 5}}) {
        SCOPED_TRACE(testing::Message() << first << " s, then " << second << " s");
        fs::remove(ScoreFileName);
        fs::remove(BestDriveFileName(kCourse));
        ScoreTable firstGame, secondGame;
        firstGame.Current(kCourse + 1).courseState = Open;
        for (const auto& [table, seconds] : {std::pair<ScoreTable*, int>{&firstGame, first}, {&secondGame, second}}) {
            table->Current(kCourse) = {kCourse, Completed, seconds};
            table->Save();
            BeginDriveRecording(kCourse, 0, courseMap->mapFileRead);
            SaveBestDrive(seconds, 0, seconds);
        }
        ScoreTable saved;
        ASSERT_EQ(saved.Load(), 1);
        EXPECT_EQ(saved.Current(kCourse).bestTime, 5);
        EXPECT_EQ(saved.Current(kCourse).courseState, Completed);
        EXPECT_EQ(saved.Current(kCourse + 1).courseState, Open);
        EXPECT_EQ(secondGame.Current(kCourse).bestTime, 5);
        EXPECT_EQ(secondGame.Current(kCourse + 1).courseState, Open);
        EXPECT_EQ(ReadDriveFile(BestDriveFileName(kCourse)).scoreSeconds, 5);
    }
}

// Another program holding the locks of both files holds up a goal two seconds in all, not two
// for each; both saves then fail with their line and leave the files as they were.
TEST_F(BestDrive, AGoalWaitsForLockedFilesTwoSecondsInAll) {
    StoreBestTime(kCourse, 500);
    const std::string bestFile = BestDriveFileName(kCourse);
    WriteText(bestFile, "# an older best\n");
    const std::vector<std::uint8_t> table = ReadBytes(ScoreFileName);
    const int scoreLock = open(ScoreFileName, O_RDONLY), driveLock = open(bestFile.c_str(), O_RDONLY);
    ASSERT_EQ(flock(scoreLock, LOCK_EX), 0);
    ASSERT_EQ(flock(driveLock, LOCK_EX), 0);
    const long waitedBefore = MillisecondsWaitedForLocks();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(TraceDrive(kCourse, RecordedDrive(kCourse)).goal);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quonfel: could not save the best times in score.dat: Resource temporarily unavailable\n"
              "quonfel: could not save the best drive in best-2.keys: Resource temporarily unavailable\n");
    EXPECT_EQ(MillisecondsWaitedForLocks() - waitedBefore, 2000);
    close(scoreLock);
    close(driveLock);
    EXPECT_EQ(ReadBytes(ScoreFileName), table);
    EXPECT_EQ(ReadText(bestFile), "# an older best\n");
}

TEST_F(BestDrive, AUserMapKeepsItsFileAndIsOfferedOnlyForIt) {
    fs::create_directory("maps");
    fs::copy_file("0.map", "maps/mine.map");
    const std::string mapPath = fs::absolute("maps/mine.map").string();
    SetOpenFileHandler([&](const OpenFileRequest&, std::string& path) {
        path = "maps/mine.map";  // relative: the key file keeps the whole path
        return true;
    });
    const DriveTrace driven = TraceDrive(UserMapCourse, RecordedDrive(0));
    SetOpenFileHandler(nullptr);
    ASSERT_TRUE(driven.goal);

    const DriveRecord best = ReadDriveFile(BestDriveFileName(UserMapCourse));
    std::uint64_t mapHash = 0;
    ASSERT_TRUE(HashCourseFile(mapPath, mapHash));
    EXPECT_EQ(best.course, UserMapCourse);
    EXPECT_EQ(best.mapFile, mapPath);
    EXPECT_EQ(best.courseHash, mapHash);
}

// quonfel --map of a course text: the drive starts at once, although the row is locked and an
// 11.map lies in the folder; its best drive names the text and keeps the hash of the map built
// from it, so that --watch-best 11 plays it and the next --map of it races it, on the text
// rather than the 11.map. Another course chosen after it drives its own file.
TEST_F(BestDrive, AMapOfTheCommandLineIsDrivenAtOnceAndItsBestDriveWatched) {
    fs::copy_file(std::string(QUONFEL_SOURCE_DIR) + "/courses/0.txt", "mine.txt");
    fs::copy_file("1.map", "11.map");
    ASSERT_TRUE(PrepareMapToPlay("mine.txt"));
    {
        FakeClock clock;
        MessageBoxRecorder boxes;
        HeadlessGame game;
        ASSERT_TRUE(game.Start());
        BeginMapToPlay();
        EXPECT_EQ(ScreenState, Driving);
        EXPECT_EQ(courseMap->mapFileRead, fs::absolute("mine.txt").string());
        PlayDrive(game, clock, RecordedDrive(0));
        EXPECT_TRUE(game.GoalReached());
        EXPECT_TRUE(boxes.boxes.empty());
        game.Press(VK_RETURN);
        for (int row = 11; row > 0; --row) game.Press(VK_UP);
        game.EnterCourse(0, 0);  // another course drives its own file
        EXPECT_EQ(courseMap->mapFileRead, "0.map");
    }
    ForgetMapToPlay();
    EXPECT_EQ(ReadText("courses/mine.txt"), ReadText("mine.txt"));  // and on the shelf
    const DriveRecord best = ReadDriveFile(BestDriveFileName(UserMapCourse));
    std::uint64_t builtHash = 0;
    ASSERT_TRUE(HashCourseFile("0.map", builtHash));
    EXPECT_EQ(best.mapFile, fs::absolute("mine.txt").string());
    EXPECT_EQ(best.courseHash, builtHash);
    std::string error;
    ASSERT_TRUE(PrepareBestWatch(UserMapCourse, AfterWatching::CourseMenu, error)) << error;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(TraceWatch(best).goal);
    testing::internal::GetCapturedStdout();

    ASSERT_TRUE(PrepareMapToPlay("mine.txt"));
    GameSettings.ghost = true;
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    BeginMapToPlay();
    EXPECT_EQ(ScreenState, BusSelect);  // the course is finished now
    MainWindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(GhostRunning());
    GameSettings.ghost = false;
    ForgetMapToPlay();
}

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

// A drive paused for five seconds: nothing moves or counts while it stands, and it is timed
// and recorded exactly as the same drive without the pause.
TEST_F(BestDrive, APausedDriveIsTimedAndRecordedAsTheSameDriveWithoutThePause) {
    const std::vector<KeyPress> presses = RecordedDrive(0);
    const DriveTrace unpaused = TraceDrive(0, presses);
    fs::remove(ScoreFileName);
    fs::remove(BestDriveFileName(0));
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
    ExpectSamePresses(presses, recorded.presses);  // no P, no W while paused

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

constexpr Colorref kYellow = Rgb(255, 255, 0);

void PressTimes(HeadlessGame& game, int key, int times) {
    for (int i = 0; i < times; ++i) game.Press(key);
}

// From the course menu to the shelf, the cursor on the given row.
void OpenShelfAt(HeadlessGame& game, int row) {
    PressTimes(game, VK_DOWN, 11);
    game.Press(VK_RETURN);
    ASSERT_EQ(ScreenState, ShelfSelect);
    PressTimes(game, VK_UP, 20);
    PressTimes(game, VK_DOWN, row);
}

bool YellowIn(const Rect& area) { return CountPixels(*offscreen, area, kYellow) > 0; }

// Two courses of the shelf driven to the goal one after the other, through the course menu's
// last row and the shelf screen as a player would: each keeps its own best time on the shelf
// screen and its own best drive, which it races as its ghost afterwards.
TEST_F(BestDrive, EachShelfCourseKeepsItsOwnBestTimeAndGhost) {
    fs::create_directory("courses");
    const std::string source = std::string(QUONFEL_SOURCE_DIR) + "/courses/";
    WriteText("courses/a.txt", "# name: A straight\n" + ReadText(source + "0.txt"));
    fs::copy_file(source + "1.txt", "courses/b.txt");
    // The shelf's courses and their shipped drives, in the shelf's order, with their seconds.
    struct Course {
        int shipped;
        std::int32_t seconds;
    };
    const Course courses[] = {{0, 7}, {1, 25}};

    FakeClock clock;
    MessageBoxRecorder boxes;
    GameSettings.ghost = true;
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    for (int row = 0; row < 2; ++row) {
        OpenShelfAt(game, row);
        game.Press(VK_RETURN);
        ASSERT_EQ(ScreenState, Driving) << "row " << row;
        EXPECT_FALSE(GhostRunning());
        PlayDrive(game, clock, RecordedDrive(courses[row].shipped));
        ASSERT_TRUE(game.GoalReached());
        game.Press(VK_RETURN);
        ASSERT_EQ(ScreenState, CourseSelect);
    }
    EXPECT_TRUE(boxes.boxes.empty());  // the last row opened although course 10 is not finished

    PressTimes(game, VK_DOWN, 11);
    game.Press(VK_RETURN);
    EXPECT_EQ(shelfScreen.cursor, 1) << "the bar left the course driven last";
    game.Frame();
    ASSERT_EQ(shelfScreen.courses.size(), 2u);
    EXPECT_EQ(shelfScreen.courses[0].name, "A straight");
    EXPECT_EQ(shelfScreen.courses[1].name, "b.txt");
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(shelfScreen.courses[row].bestTime, courses[row].seconds);
        const int top = 100 + 20 * row;
        EXPECT_TRUE(YellowIn({490, top, 560, top + 16})) << "no best time drawn on row " << row;
        EXPECT_TRUE(YellowIn({50, top, 66, top + 16})) << "no cleared mark on row " << row;
        EXPECT_TRUE(fs::exists(ShelfBestDriveFile(shelfScreen.courses[row].hash)));
    }
    EXPECT_FALSE(YellowIn({50, 140, 560, 156}));  // the file dialog's row
    // score.dat's row of the user-made course goes on as before: the better of the two.
    EXPECT_EQ(scoreTable->Current(UserMapCourse).bestTime, 7);

    // Each races its own drive: a ghost runs only on the course its drive was driven on.
    game.Press(VK_ESCAPE);
    ASSERT_EQ(ScreenState, CourseSelect);
    for (int row = 0; row < 2; ++row) {
        OpenShelfAt(game, row);
        game.Press(VK_RETURN);
        ASSERT_EQ(ScreenState, BusSelect) << "a cleared course asks for the bus first";
        game.Press(VK_RETURN);
        ASSERT_EQ(ScreenState, Driving);
        EXPECT_TRUE(GhostRunning()) << "row " << row;
        game.Press(VK_RETURN);
    }
    // The last entry opens the file dialog for any other file.
    bool asked = false;
    SetOpenFileHandler([&](const OpenFileRequest&, std::string&) { return asked = true, false; });
    OpenShelfAt(game, 2);
    game.Press(VK_RETURN);
    SetOpenFileHandler(nullptr);
    EXPECT_TRUE(asked);
    // Past twelve rows the list scrolls, a white arrow at the right saying rows are out of sight.
    PressTimes(game, VK_RETURN, 2);  // the bus menu of the course before, its drive given up
    for (int i = 0; i < 12; ++i) fs::copy_file(source + "1.txt", "courses/c" + std::to_string(i) + ".txt");
    WriteText("courses/c0.txt", "# name: " + std::string(60, 'W') + "\n" + ReadText(source + "1.txt"));
    OpenShelfAt(game, 12);
    game.Frame();
    EXPECT_EQ(shelfScreen.top, 1);
    EXPECT_EQ(CountPixels(*offscreen, {570, 100, 573, 120}, Rgb(255, 255, 255)), 2);  // the tip of ▲ at 572
    // The top row shown, "WWW…", is cut to its room: its writing reaches the room's end.
    EXPECT_TRUE(YellowIn({440, 100, 482, 116}) && !YellowIn({482, 100, 489, 116}));
    game.Press(VK_ESCAPE);
    game.Press(VK_RETURN);  // opened again, the bar still on row 12, in sight
    EXPECT_TRUE(shelfScreen.cursor == 12 && shelfScreen.top == 1);
    GameSettings.ghost = false;
    ForgetMapToPlay();
}

}  // namespace
