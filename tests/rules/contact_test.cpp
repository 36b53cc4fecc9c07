#include <gtest/gtest.h>

#include <string>

#include "rules_fixture.h"

namespace {

constexpr int TestCell = 6;  // the row's tile, east of the centre tile

struct ContactRow {
    int code;
    int wheel;  // 0 rear left, 1 rear right, 2 front left, 3 front right
    int lx;
    int ly;
    int expected;
};

class ContactTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        PlaceCleanBusTowardsPlusX();
    }

    void PutWheel(int wheel, int code, int lx, int ly) {
        SetTile(TestCell, CentreCell, code);
        SetWheel(wheel, At(TestCell, CentreCell, lx, ly));
    }

    void PutOutlinePoint(int index, int code, int lx, int ly) {
        SetTile(TestCell, CentreCell, code);
        liveBusState.outline[index] = At(TestCell, CentreCell, lx, ly);
    }

    bool WallWarningShown() const { return offscreen->PixelAt(424, 435) == AlarmPixel(0, 30); }
    bool LaneWarningShown() const { return offscreen->PixelAt(424, 405) == AlarmPixel(0, 0); }

    void RunRuleSteps() {
        map.ApplyLaneRule();
        map.ApplyWallRule();
    }
};

TEST_F(ContactTest, WheelAgainstWallsAndCornerPieces) {
    const ContactRow rows[] = {
        {1, 3, 64, 27, 1},   {1, 3, 64, 28, 0},   {1, 3, 64, 99, 0},   {1, 3, 64, 100, 1},
        {1, 0, 64, 10, 1},   {2, 2, 27, 64, 1},   {2, 2, 100, 64, 1},  {2, 2, 64, 0, 0},
        {15, 1, 10, 10, 1},  {15, 1, 30, 30, 0},  {15, 1, 64, 5, 0},   {15, 2, 122, 125, 1},
        {7, 2, 64, 20, 1},   {7, 2, 120, 120, 1}, {7, 2, 120, 64, 0},  {7, 2, 20, 20, 1},
        {11, 3, 64, 110, 1}, {11, 3, 122, 3, 1},  {11, 3, 64, 5, 0},   {13, 0, 5, 122, 1},
        {14, 0, 120, 64, 1}, {12, 1, 5, 64, 1},   {20, 3, 64, 120, 1}, {23, 3, 64, 120, 0},
    };
    for (const ContactRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << ", wheel " << row.wheel << " at ("
                                        << row.lx << ", " << row.ly << ")");
        PlaceCleanBusTowardsPlusX();
        PutWheel(row.wheel, row.code, row.lx, row.ly);
        EXPECT_EQ(map.CheckWallContact(), row.expected);
    }
}

TEST_F(ContactTest, WheelOrderDecidesBetweenEmptyGroundAndOffGrid) {
    // Left rear touching a wall, right rear on empty ground: no contact this frame.
    SetWheel(0, OnCentre(20, 10));
    PutWheel(1, TileEmpty, 20, 60);
    EXPECT_EQ(map.CheckWallContact(), 0);
    // Any other non-code clears it too.
    for (int code : {-1, 24, 1000}) {
        PutWheel(1, code, 20, 60);
        EXPECT_EQ(map.CheckWallContact(), 0);
    }
    // A wheel off the grid is contact at once; a later one on empty ground is not reached.
    PlaceCleanBusTowardsPlusX();
    SetWheel(1, At(CentreCell, 9, 20, 60));
    map.lastCellY = 8;
    PutWheel(2, TileEmpty, 100, 40);
    EXPECT_EQ(map.CheckWallContact(), 1);
    // Empty ground first, off the grid after it: no contact.
    PlaceCleanBusTowardsPlusX();
    PutWheel(0, TileEmpty, 20, 40);
    SetWheel(3, At(CentreCell, 9, 100, 60));
    EXPECT_EQ(map.CheckWallContact(), 0);
}

TEST_F(ContactTest, NoCheckBeforePlacementOrWithANegativeCell) {
    SetWheel(0, OnCentre(20, 10));
    liveBusState.placed = 0;
    EXPECT_EQ(map.CheckWallContact(), 0);
    liveBusState.placed = 1;
    map.currentCellX = -1;
    EXPECT_EQ(map.CheckWallContact(), 0);
}

TEST_F(ContactTest, FailingDrawingContextEndsTheCheckOnTilesWithCorners) {
    gdiFaults.getDC = true;
    // A straight wall needs no context.
    PutWheel(3, TileStraightX, 64, 120);
    EXPECT_EQ(map.CheckWallContact(), 1);
    // An earlier touch is lost when a later wheel stands on a tile with corner pieces.
    PlaceCleanBusTowardsPlusX();
    SetWheel(0, OnCentre(20, 10));
    PutWheel(3, 15, 64, 60);
    EXPECT_EQ(map.CheckWallContact(), 0);
    // Even a straight wall face of a curve is not counted then.
    PlaceCleanBusTowardsPlusX();
    PutWheel(0, 7, 64, 20);
    EXPECT_EQ(map.CheckWallContact(), 0);
    // A lost offscreen gives no context either.
    gdiFaults.getDC = false;
    offscreen->SetLost(true);
    EXPECT_EQ(map.CheckWallContact(), 0);
}

TEST_F(ContactTest, FailingRegionIsLoggedAndContainsNothing) {
    gdiFaults.createPolygonRgn = true;
    PutWheel(0, 15, 10, 10);
    EXPECT_EQ(map.CheckWallContact(), 0);
    const std::string expected("CreatePolygonRgn = N", 20);
    const auto bytes = ReadBytes("error_CreatePolygonRgn(Check1).txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    // The straight walls still count.
    PutWheel(0, 7, 64, 20);
    EXPECT_EQ(map.CheckWallContact(), 1);
}

TEST_F(ContactTest, RuleStepsKeepTheCountAndThePenaltyClock) {
    struct StepRow {
        const char* name;
        bool wrongLane;
        bool wallTouched;
        int count;
        bool laneWarning;
        bool wallWarning;
    };
    const StepRow rows[] = {
        {"wrong lane only", true, false, 1, true, false},
        {"wall only", false, true, 1, false, true},
        {"both", true, true, 2, true, true},
        {"neither", false, false, 0, false, false},
    };
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.name);
        offscreen->Fill(Backdrop);
        stopwatch->Reset();
        PlaceCleanBusTowardsPlusX();
        if (row.wrongLane) SetWheel(1, OnCentre(20, 70));
        if (row.wallTouched) SetWheel(2, OnCentre(100, 20));
        RunRuleSteps();
        EXPECT_EQ(map.violationCount, row.count);
        EXPECT_EQ(stopwatch->penaltyRunning, row.count > 0 ? 1 : 0);
        EXPECT_EQ(LaneWarningShown(), row.laneWarning);
        EXPECT_EQ(WallWarningShown(), row.wallWarning);
    }
}

TEST_F(ContactTest, PenaltyStopsInTheFirstCleanFrame) {
    SetWheel(2, OnCentre(100, 20));
    RunRuleSteps();
    clock.wallSeconds = 103;
    RunRuleSteps();
    EXPECT_EQ(stopwatch->penaltyRunning, 1);
    PlaceCleanBusTowardsPlusX();
    RunRuleSteps();
    EXPECT_EQ(map.violationCount, 0);
    EXPECT_EQ(stopwatch->penaltyRunning, 0);
    EXPECT_EQ(stopwatch->penaltyTime, 180);
    // An unplaced bus breaks no rule either.
    SetWheel(2, OnCentre(100, 20));
    stopwatch->StartPenalty();
    liveBusState.placed = 0;
    RunRuleSteps();
    EXPECT_EQ(map.violationCount, 0);
    EXPECT_EQ(stopwatch->penaltyRunning, 0);
}

TEST_F(ContactTest, WallWarningIsTheLowerBandUnstretched) {
    WindowOrigin = Point{10, 5};
    SetWheel(2, OnCentre(100, 20));
    RunRuleSteps();
    // Destination (434, 440) to (613, 469), right and bottom excluded.
    for (int row = 0; row < 29; ++row)
        for (int column = 0; column < 179; ++column)
            ASSERT_EQ(offscreen->PixelAt(434 + column, 440 + row), AlarmPixel(column, 30 + row))
                << column << "," << row;
    EXPECT_TRUE(OffscreenUntouchedAt(613, 440));
    EXPECT_TRUE(OffscreenUntouchedAt(434, 469));
    EXPECT_TRUE(OffscreenUntouchedAt(433, 440));
    EXPECT_TRUE(OffscreenUntouchedAt(434, 439));
}

struct CrashRow {
    int code;
    int lx;
    int ly;
    int expected;
};

TEST_F(ContactTest, BodyPointsThatEndTheDrive) {
    const CrashRow rows[] = {
        {1, 64, 10, 1},    {1, 64, 11, 0},    {1, 64, 117, 1},   {1, 64, 116, 0},
        {2, 10, 64, 1},    {2, 117, 64, 1},   {2, 64, 5, 0},     {0, 64, 64, 1},
        {-1, 64, 64, 1},   {24, 64, 64, 1},   {15, 5, 5, 1},     {15, 6, 6, 0},
        {15, 20, 20, 0},   {15, 64, 5, 0},    {7, 122, 122, 1},  {7, 120, 120, 0},
        {7, 5, 64, 1},     {7, 64, 5, 1},     {7, 64, 122, 0},   {11, 64, 120, 1},
        {11, 125, 5, 1},   {13, 122, 122, 1}, {13, 5, 124, 1},   {14, 5, 5, 1},
        {12, 5, 64, 1},    {21, 64, 120, 1},  {22, 64, 120, 0},
    };
    for (const CrashRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " at (" << row.lx << ", " << row.ly << ")");
        PlaceCleanBusTowardsPlusX();
        PutOutlinePoint(2, row.code, row.lx, row.ly);
        EXPECT_EQ(map.CheckCrash(), row.expected);
    }
}

TEST_F(ContactTest, CrashStandsAside) {
    liveBusState.outline[1] = OnCentre(64, 10);
    map.violationCount = 1;
    EXPECT_EQ(map.CheckCrash(), 0);
    map.violationCount = 0;
    liveBusState.placed = 0;
    EXPECT_EQ(map.CheckCrash(), 0);
    liveBusState.placed = 1;
    liveBusState.outlineCount = 0;
    EXPECT_EQ(map.CheckCrash(), 0);
    liveBusState.outlineCount = 4;
    EXPECT_EQ(map.CheckCrash(), 1);
}

TEST_F(ContactTest, WheelOnTheWallKeepsTheDeepBodyFromCrashing) {
    liveBusState.outline[1] = OnCentre(64, 10);
    SetWheel(2, OnCentre(100, 20));
    RunRuleSteps();
    EXPECT_EQ(map.CheckCrash(), 0);
    // A wheel off the grid is contact, so even a body off the grid does not crash.
    map.lastCellX = CentreCell - 1;
    PlaceCleanBusTowardsPlusX();
    RunRuleSteps();
    EXPECT_GT(map.violationCount, 0);
    EXPECT_EQ(map.CheckCrash(), 0);
}

TEST_F(ContactTest, CrashOffTheGridAndBeyondIt) {
    PutOutlinePoint(3, TileStraightX, 64, 40);
    map.lastCellX = TestCell - 1;
    EXPECT_EQ(map.CheckCrash(), 1);
    // The last-cell fields cannot send the check beyond the 20 by 20 grid.
    map.lastCellX = 30;
    map.currentCellX = 19;
    SetOutline({Point{3 * TileSize + 64, 2 * TileSize + 40}});  // cell (20, 5)
    EXPECT_EQ(map.CheckCrash(), 1);
    // A count beyond the outline's ten points reads only those ten.
    map.currentCellX = CentreCell;
    PlaceCleanBusTowardsPlusX();
    for (Point& p : liveBusState.outline) p = OnCentre(64, 40);
    liveBusState.outlineCount = 1000;
    EXPECT_EQ(map.CheckCrash(), 0);
}

TEST_F(ContactTest, CrashWithoutADrawingContext) {
    gdiFaults.getDC = true;
    const CrashRow rows[] = {
        {7, 5, 64, 1},   // code 7 looks at its straight deep zones first
        {8, 64, 5, 0},   // the others take the context first
        {14, 125, 64, 0},
        {15, 5, 5, 0},
        {1, 64, 10, 1},  // straight roads need no context
    };
    for (const CrashRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code);
        PlaceCleanBusTowardsPlusX();
        PutOutlinePoint(0, row.code, row.lx, row.ly);
        EXPECT_EQ(map.CheckCrash(), row.expected);
    }
    // A later point deep in a straight wall is not reached.
    PlaceCleanBusTowardsPlusX();
    PutOutlinePoint(0, 15, 64, 64);
    liveBusState.outline[1] = OnCentre(64, 5);
    EXPECT_EQ(map.CheckCrash(), 0);
}

TEST_F(ContactTest, CrashWithAFailingRegionLogsAndGoesOn) {
    gdiFaults.createPolygonRgn = true;
    PutOutlinePoint(0, 15, 5, 5);
    EXPECT_EQ(map.CheckCrash(), 0);
    EXPECT_EQ(ReadBytes("error_CreatePolygonRgn(Check1).txt").size(), 20u);
    liveBusState.outline[1] = OnCentre(64, 5);
    EXPECT_EQ(map.CheckCrash(), 1);
}

}  // namespace
