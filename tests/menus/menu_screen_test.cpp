// The course and bus-type menus: captions, colours and positions read back from the screen.
#include <gtest/gtest.h>

#include <filesystem>

#include "menus/menu_screen.h"
#include "records/screen_fixture.h"
#include "support/test_support.h"

namespace {

constexpr Colorref Red = 0x0000FF;
constexpr Colorref Black = 0x000000;
constexpr Colorref White = 0xFFFFFF;
constexpr Colorref Grey = 0x808080;
constexpr Colorref Yellow = 0x00FFFF;
constexpr Colorref Untouched = 0x4A3B2C;

int RowTop(int row) { return 100 + 20 * row; }
// The name column of a row, left of the best time.
Rect NameArea(int row) { return {50, RowTop(row), 490, RowTop(row) + 16}; }
Rect BestTimeArea(int row) { return {490, RowTop(row), 640, RowTop(row) + 16}; }

class MenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        offscreen->Fill(Untouched);
    }
    MenuScreen menu;
};

}  // namespace

TEST_F(MenuTest, FreshTableShowsThePracticeCourseWhiteOnTheBarAndTheRestGrey) {
    menu.DrawCourseMenu();
    EXPECT_GT(CountPixels(*offscreen, NameArea(0), White), 30);
    EXPECT_EQ(CountPixels(*offscreen, NameArea(0), Grey), 0);
    for (int row = 1; row < CourseCount; ++row) {
        SCOPED_TRACE(row);
        EXPECT_GT(CountPixels(*offscreen, NameArea(row), Grey), 30);
        EXPECT_EQ(CountPixels(*offscreen, NameArea(row), White), 0);
        EXPECT_EQ(CountPixels(*offscreen, NameArea(row), Yellow), 0);
        // Unlit rows stand on black text boxes.
        EXPECT_EQ(offscreen->PixelAt(50, RowTop(row)), Black);
        EXPECT_EQ(CountPixels(*offscreen, BestTimeArea(row), Untouched), 150 * 16);
    }
    EXPECT_EQ(CountPixels(*offscreen, BestTimeArea(0), Untouched), 150 * 16);
}

// The bar covers x 50..489 and 19 rows from 100 + 20 * cursor; nothing else is red.
class CourseBar : public MenuTest, public ::testing::WithParamInterface<int> {};

TEST_P(CourseBar, StandsOnTheCursorRowOnly) {
    const int cursor = GetParam();
    menu.CourseCursor = cursor;
    menu.DrawCourseMenu();
    const int top = RowTop(cursor), bottom = top + 19;
    for (int y = 0; y < 480; ++y) {
        const bool inBar = y >= top && y < bottom;
        ASSERT_EQ(offscreen->PixelAt(489, y) == Red, inBar) << "y " << y;
        ASSERT_EQ(offscreen->PixelAt(50, y) == Red, inBar) << "y " << y;
    }
    EXPECT_TRUE(AllPixels(*offscreen, {300, top, 490, bottom}, Red));
    EXPECT_EQ(CountPixels(*offscreen, {490, 0, 640, 480}, Red), 0);
    EXPECT_EQ(CountPixels(*offscreen, {0, 0, 50, 480}, Red), 0);
    EXPECT_EQ(CountPixels(*offscreen, {0, 0, 640, top}, Red), 0);
    EXPECT_EQ(CountPixels(*offscreen, {0, bottom, 640, 480}, Red), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, CourseBar, ::testing::Values(0, 1, 6, 11));

TEST_F(MenuTest, ClearedCoursesAreYellowWithTheirBestTimeExceptTheUserMap) {
    scoreTable->records[0][2] = {2, Completed, 3725};
    scoreTable->records[0][3] = {3, Completed, 65};
    scoreTable->records[0][4] = {4, Open, 0};
    scoreTable->records[0][11] = {11, Completed, 65};
    menu.CourseCursor = 3;
    menu.DrawCourseMenu();

    EXPECT_GT(CountPixels(*offscreen, NameArea(3), Yellow), 30);
    EXPECT_GT(CountPixels(*offscreen, NameArea(4), White), 30);
    EXPECT_EQ(CountPixels(*offscreen, NameArea(4), Yellow), 0);
    EXPECT_GT(CountPixels(*offscreen, NameArea(11), Yellow), 30);
    EXPECT_EQ(CountPixels(*offscreen, BestTimeArea(11), Untouched), 150 * 16);

    // The time stands at x 490 on the row's own background: red under the cursor, else black.
    auto lit = ReferenceText(640, 480, Untouched, 490, RowTop(3), 16, Yellow, Red, "00:01:05");
    EXPECT_EQ(DifferingPixels(*offscreen, *lit, BestTimeArea(3)), 0);
    auto unlit = ReferenceText(640, 480, Untouched, 490, RowTop(2), 16, Yellow, Black, "01:02:05");
    EXPECT_EQ(DifferingPixels(*offscreen, *unlit, BestTimeArea(2)), 0);
}

TEST_F(MenuTest, CourseStatesComeFromTheSetInUse) {
    scoreTable->currentSet = 1;
    scoreTable->records[1][0] = {0, Locked, 0};
    scoreTable->records[1][5] = {5, Open, 0};
    menu.DrawCourseMenu();
    EXPECT_GT(CountPixels(*offscreen, NameArea(0), Grey), 30);
    EXPECT_EQ(CountPixels(*offscreen, NameArea(0), White), 0);
    EXPECT_GT(CountPixels(*offscreen, NameArea(5), White), 30);
}

TEST_F(MenuTest, MenusFollowTheWindowOrigin) {
    InstallScreen(900, 700, Point{120, 75});
    offscreen->Fill(Untouched);
    menu.CourseCursor = 2;
    menu.DrawCourseMenu();
    EXPECT_EQ(offscreen->PixelAt(170, 75 + 140), Red);
    EXPECT_EQ(offscreen->PixelAt(609, 75 + 158), Red);
    EXPECT_EQ(offscreen->PixelAt(610, 75 + 158), Untouched);
    EXPECT_EQ(offscreen->PixelAt(169, 75 + 150), Untouched);
    EXPECT_GT(CountPixels(*offscreen, {170, 175, 610, 191}, White), 30);

    offscreen->Fill(Untouched);
    menu.BusCursor = 1;
    menu.DrawBusMenu();
    EXPECT_EQ(offscreen->PixelAt(170, 75 + 120), Red);
    EXPECT_EQ(offscreen->PixelAt(170, 75 + 100), Black);
    EXPECT_EQ(offscreen->PixelAt(169, 75 + 100), Untouched);
}

TEST_F(MenuTest, FailedRectangleIsLoggedAndTheTextStillDrawn) {
    ScopedWorkDir dir;
    gdiFaults.rectangle = true;
    menu.DrawCourseMenu();
    const std::vector<std::uint8_t> log = ReadBytes("error_Rectangle.txt");
    EXPECT_EQ(std::string(log.begin(), log.end()), "Rectangle = FALSE at");
    EXPECT_EQ(offscreen->PixelAt(489, 110), Untouched);
    EXPECT_GT(CountPixels(*offscreen, NameArea(0), White), 30);
    EXPECT_GT(CountPixels(*offscreen, NameArea(1), Grey), 30);
}

TEST_F(MenuTest, WithoutADrawingContextNothingIsDrawnAndTheBusMenuRequestStays) {
    ScopedWorkDir dir;
    gdiFaults.getDC = true;
    menu.ShowBusMenu = 1;
    menu.DrawCourseMenu();
    menu.DrawBusMenu();
    EXPECT_TRUE(AllPixels(*offscreen, {0, 0, 640, 480}, Untouched));
    EXPECT_EQ(menu.ShowBusMenu, 1);
    EXPECT_FALSE(std::filesystem::exists("error_Rectangle.txt"));
}

TEST_F(MenuTest, BusMenuLightsItsRowByTheTextBackgroundOnly) {
    menu.BusCursor = 2;
    menu.ShowBusMenu = 1;
    menu.DrawBusMenu();
    EXPECT_EQ(menu.ShowBusMenu, 0);
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        const Rect caption{50, RowTop(row), 400, RowTop(row) + 16};
        EXPECT_GT(CountPixels(*offscreen, caption, White), 30);
        EXPECT_EQ(CountPixels(*offscreen, caption, Grey) + CountPixels(*offscreen, caption, Yellow), 0);
        EXPECT_EQ(offscreen->PixelAt(50, RowTop(row)), row == 2 ? Red : Black);
        EXPECT_EQ(CountPixels(*offscreen, caption, Red) > 0, row == 2);
    }
    // No bar: right of the captions and between the rows nothing is drawn.
    EXPECT_TRUE(AllPixels(*offscreen, {400, 0, 640, 480}, Untouched));
    EXPECT_TRUE(AllPixels(*offscreen, {0, 156, 640, 160}, Untouched));
    EXPECT_TRUE(AllPixels(*offscreen, {0, 180, 640, 480}, Untouched));
}
