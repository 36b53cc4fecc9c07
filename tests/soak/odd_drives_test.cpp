// Drives the courses were never meant for: a bus several tiles a frame fast, a map without a
// start. The course view must still find the bus every frame and never fail its copy.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "shared/globals.h"
#include "support/test_support.h"

namespace {

void Key(int key) { MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(key), 0); }

class OddDrive : public ::testing::Test {
protected:
    void SetUp() override {
        LinkGameData();
        ScreenState = CourseSelect;
        WindowOrigin = {0, 0};
        WindowSize = {640, 480};
        ASSERT_EQ(CreateSurfaces(640, 480), 1);
        ASSERT_EQ(LoadAllBitmaps(), 1);
        CreateGameObjects();
    }
    void TearDown() override {
        if (courseMap) ReleaseAll();
        ScreenState = CourseSelect;
        liveBusState = BusState{};
        frameBusState = BusState{};
    }

    // After every driving frame the driver's seat is back in the centre tile of the view.
    void FrameKeepsTheSeatInTheCentreTile(int frame) {
        ASSERT_EQ(ScreenState, Driving);
        render_frame();
        const Point seat = frameBusState.driverPoint;
        EXPECT_TRUE(seat.x >= 256 && seat.x < 384 && seat.y >= 256 && seat.y < 384)
            << "frame " << frame << ": seat at " << seat.x << "," << seat.y;
    }

    ScopedWorkDir dir;
    MessageBoxRecorder boxes;
    FakeClock clock;
};

// 320 pixels a frame: off the right end of the practice course's straight, where a wheel off
// the grid counts as touching a wall and the crash check stands aside; then the wheel at
// full lock until the bus faces left, and straight on: the seat runs more than a tile past
// the left edge of the view in one frame.
// Speed has no upper bound: a player who holds W long enough, off the course where the walls
// no longer end the drive, goes several tiles a frame.
TEST_F(OddDrive, ViewFollowsABusMovingTilesPerFrameToTheLeft) {
    Key(VK_RETURN);  // the practice course
    render_frame();  // places the bus
    Key(VK_UP);
    for (int i = 0; i < 800; ++i) Key('W');
    for (int frame = 0; frame < 5; ++frame) FrameKeepsTheSeatInTheCentreTile(frame);
    for (int i = 0; i < 8; ++i) Key('U');
    bool straight = false;
    for (int frame = 5; frame < 120 && ScreenState == Driving; ++frame) {
        const double heading = std::remainder(liveBusState.heading, 2 * M_PI);
        if (!straight && heading > 1.2 && heading < 1.9) {
            for (int i = 0; i < 8; ++i) Key(VK_NUMPAD0 + 8);  // wheel back to straight
            straight = true;
        }
        FrameKeepsTheSeatInTheCentreTile(frame);
    }
    EXPECT_TRUE(straight);
    for (const RecordedBox& box : boxes.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
}

// A user map with road and a goal but no start tile, as the first drive of the game: the bus
// has never stood anywhere, yet the view must show it from the first frame.
TEST_F(OddDrive, UserMapWithoutAStartShowsTheBusFromTheFirstFrame) {
    WriteMapFile("no start.map", 3, 2, 1, {1, 21});
    SetOpenFileHandler([this](const OpenFileRequest&, std::string& path) {
        path = dir.Path() + "/no start.map";
        return true;
    });
    scoreTable->Current(UserMapCourse).courseState = Open;
    for (int i = 0; i < UserMapCourse; ++i) Key(VK_DOWN);
    Key(VK_RETURN);
    SetOpenFileHandler(nullptr);
    Key(VK_UP);
    Key('W');
    for (int frame = 0; frame < 30 && ScreenState == Driving; ++frame) FrameKeepsTheSeatInTheCentreTile(frame);
    for (const RecordedBox& box : boxes.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
}

}  // namespace
