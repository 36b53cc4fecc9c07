// Two courses of the shelf driven to the goal one after the other, through the course menu's
// last row and the shelf screen as a player would: each keeps its own best time on the shelf
// screen and its own best drive, which it races as its ghost afterwards.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app.h"
#include "app/map_to_play.h"
#include "course/course_map.h"
#include "menus/shelf_screen.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "records/screen_fixture.h"
#include "records/shelf.h"
#include "replays/ghost.h"
#include "shared/globals.h"
#include "support/recorded_drives.h"

namespace fs = std::filesystem;

namespace {

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

bool YellowIn(const Rect& area) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (offscreen->PixelAt(x, y) == kYellow) return true;
    return false;
}

TEST(ShelfDrives, EachCourseKeepsItsOwnBestTimeAndGhost) {
    ScopedWorkDir dir;
    LinkGameData();
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
    OpenShelfAt(game, 12);
    game.Frame();
    EXPECT_EQ(shelfScreen.top, 1);
    EXPECT_EQ(CountPixels(*offscreen, {570, 100, 573, 120}, Rgb(255, 255, 255)), 2);  // the tip of ▲ at 572
    GameSettings.ghost = false;
    ForgetMapToPlay();
}

}  // namespace
