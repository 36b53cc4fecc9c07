#include <gtest/gtest.h>

#include <set>

#include "rules_fixture.h"

namespace {

constexpr int TestCell = 6;  // the tile under the left rear wheel, east of the centre tile

struct LaneRow {
    int code;
    int lx;
    int ly;
    int dx;  // forward direction along the bus's left side
    int dy;
    int expected;
};

class LaneTest : public RulesTest {
protected:
    // The left rear wheel on the row's tile; the right rear wheel on the shoulder of a
    // straight road, where it is never in a wrong lane.
    void PlaceRow(const LaneRow& row) {
        SetTile(TestCell, CentreCell, row.code);
        SetCentreTile(TileStraightX);
        const Point left = At(TestCell, CentreCell, row.lx, row.ly);
        const Point right = OnCentre(40, 15);
        SetWheel(0, left);
        SetWheel(2, Point{left.x + row.dx, left.y + row.dy});
        SetWheel(1, right);
        SetWheel(3, Point{right.x + 1, right.y});
    }
};

TEST_F(LaneTest, WrongLaneBandsByTileAndDirection) {
    const LaneRow rows[] = {
        // Roads along x: towards +x the lane with the larger y is wrong.
        {1, 60, 70, 90, 0, 1},  {1, 60, 40, 90, 0, 0},  {1, 60, 20, 90, 0, 0},
        {1, 60, 105, 90, 0, 0}, {1, 60, 63, 90, 0, 0},  {1, 60, 64, 90, 0, 1},
        {1, 60, 99, 90, 0, 1},  {1, 60, 100, 90, 0, 0}, {1, 60, 40, -90, 0, 1},
        {1, 60, 28, -90, 0, 1}, {1, 60, 27, -90, 0, 0}, {1, 60, 64, -90, 0, 0},
        // Standing square across a road along x counts as travel towards -x.
        {1, 60, 40, 0, 90, 1},  {1, 60, 70, 0, -90, 0},
        {16, 60, 40, -90, 5, 1}, {17, 60, 70, 90, -5, 1}, {20, 60, 70, 90, 0, 1},
        {21, 60, 40, 90, 0, 0},
        // Codes 3 and 4 hold the rule on part of the tile only.
        {3, 76, 70, 90, 0, 1},  {3, 77, 70, 90, 0, 0},  {3, 40, 40, -90, 0, 1},
        {4, 50, 70, 90, 0, 0},  {4, 51, 70, 90, 0, 1},
        // Roads along y: down the screen the lane with the smaller x is wrong.
        {2, 40, 60, 0, 90, 1},  {2, 70, 60, 0, 90, 0},  {2, 70, 60, 0, -90, 1},
        {2, 99, 60, 0, -90, 1}, {2, 100, 60, 0, -90, 0}, {2, 27, 60, 0, 90, 0},
        // Square across a road along y counts as travel up the screen...
        {2, 70, 60, 90, 0, 1},  {2, 40, 60, -90, 0, 0},
        {18, 70, 60, 5, -90, 1}, {19, 40, 60, -5, 90, 1}, {22, 70, 60, 0, -90, 1},
        {23, 70, 60, 0, 90, 0},
        // ...but on codes 5 and 6 as travel down it.
        {5, 70, 30, 90, 0, 0},  {5, 40, 30, 90, 0, 1},  {5, 40, 76, 0, 90, 1},
        {5, 40, 77, 0, 90, 0},  {5, 70, 30, 0, -90, 1},
        {6, 40, 51, 90, 0, 1},  {6, 40, 50, 90, 0, 0},  {6, 70, 60, 0, -90, 1},
    };
    for (const LaneRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " at (" << row.lx << ", " << row.ly
                                        << ") going (" << row.dx << ", " << row.dy << ")");
        PlaceRow(row);
        EXPECT_EQ(map.CheckLane(), row.expected);
    }
}

TEST_F(LaneTest, BothWheelsWrongStillGiveOne) {
    SetWheel(0, OnCentre(40, 70));
    SetWheel(1, OnCentre(40, 90));
    SetWheel(2, OnCentre(120, 70));
    SetWheel(3, OnCentre(120, 90));
    EXPECT_EQ(map.CheckLane(), 1);
}

// The left wheel is in the wrong lane in every case; what the right wheel stands on decides.
TEST_F(LaneTest, RightWheelWithoutARuleClearsTheFrame) {
    for (int code : {0, 7, 11, 15, -1, 24, 99}) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        PlaceRow({1, 60, 70, 90, 0, 1});
        SetCentreTile(code);
        EXPECT_EQ(map.CheckLane(), 0);
    }
}

TEST_F(LaneTest, EarlyReturns) {
    // A left wheel on a junction ends the check before the right wheel, even off the grid.
    PlaceRow({7, 60, 70, 90, 0, 0});
    SetWheel(1, At(CentreCell, 12, 40, 70));
    EXPECT_EQ(map.CheckLane(), 0);

    // A left wheel off the grid is a violation at once, whatever the right wheel does.
    PlaceRow({1, 60, 40, 90, 0, 0});
    map.lastCellX = TestCell - 1;
    EXPECT_EQ(map.CheckLane(), 1);

    // Not placed, or a negative current cell: no check at all.
    map.lastCellX = 9;
    PlaceRow({1, 60, 70, 90, 0, 1});
    liveBusState.placed = 0;
    EXPECT_EQ(map.CheckLane(), 0);
    liveBusState.placed = 1;
    map.currentCellY = -1;
    EXPECT_EQ(map.CheckLane(), 0);
}

// A cell beyond the 20 by 20 grid is off the grid even when the last-cell fields are larger.
TEST_F(LaneTest, CellsBeyondTheGridAreOffIt) {
    map.lastCellX = 40;
    map.lastCellY = 40;
    map.currentCellX = 19;
    SetWheel(0, Point{3 * TileSize + 60, 2 * TileSize + 40});  // cell (20, 5)
    SetWheel(2, Point{3 * TileSize + 100, 2 * TileSize + 40});
    EXPECT_EQ(map.CheckLane(), 1);
    map.currentCellX = CentreCell;
    map.currentCellY = 1;
    SetWheel(0, Point{2 * TileSize + 60, 40});  // cell (5, -1)
    SetWheel(2, Point{2 * TileSize + 100, 40});
    EXPECT_EQ(map.CheckLane(), 1);
}

TEST_F(LaneTest, ApplyCountsTheViolationAndShowsTheStretchedWarning) {
    WindowOrigin = Point{10, 20};
    alarmSurface->SetColourKey(ColourKeyMagenta);
    alarmSurface->SetPixel(7, 3, ColourKeyMagenta);
    map.violationCount = 5;
    PlaceRow({1, 60, 70, 90, 0, 1});
    map.ApplyLaneRule();

    EXPECT_EQ(map.violationCount, 1);
    EXPECT_EQ(stopwatch->penaltyRunning, 1);
    EXPECT_EQ(stopwatch->penaltyStart, 100);
    // The 179 source columns fill 180 destination columns from 434 to 613; rows 425 to 453.
    std::set<Colorref> shownColumns;
    for (int x = 434; x <= 613; ++x) shownColumns.insert(offscreen->PixelAt(x, 425));
    EXPECT_EQ(shownColumns.size(), 179u);
    for (int column = 0; column < 179; ++column) EXPECT_EQ(shownColumns.count(AlarmPixel(column, 0)), 1u);
    EXPECT_EQ(offscreen->PixelAt(434, 425), AlarmPixel(0, 0));
    EXPECT_EQ(offscreen->PixelAt(613, 453), AlarmPixel(178, 28));
    EXPECT_EQ(offscreen->PixelAt(434, 453), AlarmPixel(0, 28));
    EXPECT_TRUE(OffscreenUntouchedAt(433, 425));
    EXPECT_TRUE(OffscreenUntouchedAt(614, 425));
    EXPECT_TRUE(OffscreenUntouchedAt(434, 424));
    EXPECT_TRUE(OffscreenUntouchedAt(434, 454));
    // The warning is copied without the colour key.
    bool magentaShown = false;
    for (int x = 434; x <= 613; ++x) magentaShown |= offscreen->PixelAt(x, 428) == ColourKeyMagenta;
    EXPECT_TRUE(magentaShown);
}

TEST_F(LaneTest, ApplyOnACleanFrameClearsTheCountAndDrawsNothing) {
    stopwatch->StartPenalty();
    for (int held : {0, 1, 2, 7}) {
        map.violationCount = held;
        PlaceRow({1, 60, 40, 90, 0, 0});
        map.ApplyLaneRule();
        EXPECT_EQ(map.violationCount, 0);
    }
    PlaceRow({1, 60, 70, 90, 0, 1});
    liveBusState.placed = 0;
    map.ApplyLaneRule();
    EXPECT_EQ(map.violationCount, 0);
    EXPECT_TRUE(OffscreenUntouchedAt(434, 425));
    // The lane step never stops the penalty clock.
    EXPECT_EQ(stopwatch->penaltyRunning, 1);
}

TEST_F(LaneTest, ConsecutiveViolationsStartThePenaltyOnce) {
    PlaceRow({1, 60, 70, 90, 0, 1});
    map.ApplyLaneRule();
    clock.wallSeconds = 102;
    offscreen->Fill(Backdrop);
    map.ApplyLaneRule();
    EXPECT_EQ(stopwatch->penaltyStart, 100);
    EXPECT_EQ(offscreen->PixelAt(424, 405), AlarmPixel(0, 0));
}

}  // namespace
