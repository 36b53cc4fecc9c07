#include <gtest/gtest.h>

#include <vector>

#include "rules_fixture.h"

namespace {

constexpr int GoalCell = 6;  // the goal tile, east of the centre tile

class GoalInTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        SetTile(GoalCell, CentreCell, 20);
    }

    // Body corners and wheels of a bus in the code 20 box (ly 69 to 98), in its lane for
    // travel towards -x (facing -x) or in the oncoming one (facing +x).
    void StandInBoxOfCode20(bool facingMinusX) {
        SetOutline({Goal(20, 70), Goal(110, 70), Goal(110, 97), Goal(20, 97)});
        const int back = facingMinusX ? 100 : 30;
        const int front = facingMinusX ? 30 : 100;
        const int leftLy = facingMinusX ? 94 : 73;
        const int rightLy = facingMinusX ? 73 : 94;
        SetWheel(0, Goal(back, leftLy));
        SetWheel(1, Goal(back, rightLy));
        SetWheel(2, Goal(front, leftLy));
        SetWheel(3, Goal(front, rightLy));
    }

    static Point Goal(int lx, int ly) { return At(GoalCell, CentreCell, lx, ly); }
};

TEST_F(GoalInTest, WholeBodyInTheBox) {
    SetOutline({Goal(0, 69), Goal(127, 69), Goal(127, 98), Goal(0, 98)});
    EXPECT_EQ(map.CheckGoalIn(), 1);
    EXPECT_EQ(map.goalReached, 1);
}

TEST_F(GoalInTest, BoxBoundsByGoalCode) {
    struct BoxRow {
        int code;
        int lx;
        int ly;
        int expected;
    };
    const BoxRow rows[] = {
        {20, 64, 68, 0},  {20, 64, 69, 1},  {20, 64, 98, 1},  {20, 64, 99, 0},
        {21, 64, 28, 0},  {21, 64, 29, 1},  {21, 64, 58, 1},  {21, 64, 59, 0},
        {22, 28, 64, 0},  {22, 29, 0, 1},   {22, 58, 127, 1}, {22, 59, 64, 0},
        {23, 68, 64, 0},  {23, 69, 0, 1},   {23, 98, 127, 1}, {23, 99, 64, 0},
        {1, 64, 80, 0},   {16, 64, 80, 0},  {0, 64, 80, 0},   {-1, 64, 80, 0},
    };
    for (const BoxRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " at (" << row.lx << ", " << row.ly << ")");
        SetTile(GoalCell, CentreCell, row.code);
        map.goalReached = 0;
        SetOutline({Goal(row.lx, row.ly)});
        EXPECT_EQ(map.CheckGoalIn(), row.expected);
        EXPECT_EQ(map.goalReached, row.expected);
    }
}

TEST_F(GoalInTest, OnePointOutsideSpoilsIt) {
    SetTile(GoalCell + 1, CentreCell, TileStraightX);
    for (Point stray : {Goal(64, 99), Goal(64, 68), At(GoalCell + 1, CentreCell, 5, 80)}) {
        SetOutline({Goal(20, 70), Goal(110, 70), stray, Goal(20, 97)});
        EXPECT_EQ(map.CheckGoalIn(), 0);
    }
    EXPECT_EQ(map.goalReached, 0);
}

TEST_F(GoalInTest, EachPointJudgedByItsOwnGoalTile) {
    SetTile(GoalCell + 1, CentreCell, 20);
    SetOutline({Goal(100, 70), At(GoalCell + 1, CentreCell, 20, 70), At(GoalCell + 1, CentreCell, 20, 97),
                Goal(100, 97)});
    EXPECT_EQ(map.CheckGoalIn(), 1);
}

TEST_F(GoalInTest, FacingTheWrongWayIsRefusedThroughTheLaneRule) {
    StandInBoxOfCode20(false);
    map.ApplyLaneRule();
    map.ApplyWallRule();
    EXPECT_EQ(map.violationCount, 1);
    EXPECT_EQ(map.CheckGoalIn(), 0);
    EXPECT_EQ(map.goalReached, 0);

    StandInBoxOfCode20(true);
    map.ApplyLaneRule();
    map.ApplyWallRule();
    EXPECT_EQ(map.violationCount, 0);
    EXPECT_EQ(map.CheckGoalIn(), 1);
}

TEST_F(GoalInTest, OffTheGridIsNoGoalTile) {
    SetOutline({Goal(64, 80)});
    map.lastCellX = GoalCell - 1;
    EXPECT_EQ(map.CheckGoalIn(), 0);
    // Beyond the 20 by 20 grid, whatever the last-cell fields say.
    map.lastCellX = 30;
    map.currentCellX = 19;
    SetOutline({Point{3 * TileSize + 64, 2 * TileSize + 80}});  // cell (20, 5)
    EXPECT_EQ(map.CheckGoalIn(), 0);
}

TEST_F(GoalInTest, NeedsABodyAndNotThePlacement) {
    SetOutline({Goal(64, 80)});
    liveBusState.placed = 0;
    EXPECT_EQ(map.CheckGoalIn(), 1);
    liveBusState.outlineCount = 0;
    map.goalReached = 0;
    EXPECT_EQ(map.CheckGoalIn(), 0);
    EXPECT_EQ(map.goalReached, 0);
}

TEST_F(GoalInTest, MissedGoalNamesTheSideTheCheckFindsOutside) {
    struct MissRow {
        const char* what;
        int code;
        std::vector<Point> outline;
        GoalMiss expected;
    };
    const Point east = At(GoalCell + 1, CentreCell, 5, 80), west = At(GoalCell - 1, CentreCell, 120, 80);
    const MissRow rows[] = {
        {"all inside", 20, {Goal(20, 70), Goal(110, 97)}, GoalMiss::None},
        {"20 above", 20, {Goal(20, 70), Goal(110, 68)}, GoalMiss::Top},
        {"20 below", 20, {Goal(20, 70), Goal(110, 99)}, GoalMiss::Bottom},
        {"first point out decides", 20, {Goal(20, 68), Goal(60, 80), Goal(110, 99)}, GoalMiss::Top},
        {"21 above", 21, {Goal(20, 28), Goal(110, 40)}, GoalMiss::Top},
        {"21 below", 21, {Goal(20, 40), Goal(110, 59)}, GoalMiss::Bottom},
        {"22 left", 22, {Goal(28, 20), Goal(40, 110)}, GoalMiss::Left},
        {"22 right", 22, {Goal(40, 20), Goal(59, 110)}, GoalMiss::Right},
        {"23 left", 23, {Goal(80, 20), Goal(68, 110)}, GoalMiss::Left},
        {"23 right", 23, {Goal(99, 20), Goal(80, 110)}, GoalMiss::Right},
        {"front on the next tile", 20, {Goal(20, 70), east}, GoalMiss::Right},
        {"rear on the tile before", 20, {west, Goal(20, 70)}, GoalMiss::Left},
        {"in the other lane", 20, {Goal(20, 35), Goal(110, 60)}, GoalMiss::WrongLane},
        {"not on the goal tile", 20, {east}, GoalMiss::NotOnGoalTile},
    };
    for (const MissRow& row : rows) {
        SCOPED_TRACE(row.what);
        SetTile(GoalCell, CentreCell, row.code);
        liveBusState.outlineCount = 0;
        for (Point p : row.outline) liveBusState.outline[liveBusState.outlineCount++] = p;
        EXPECT_EQ(map.MissedGoal(), row.expected);
        EXPECT_EQ(map.CheckGoalIn(), row.expected == GoalMiss::None ? 1 : 0);
    }
    SetTile(GoalCell, CentreCell, 20);
    StandInBoxOfCode20(false);
    EXPECT_EQ(map.MissedGoal(), GoalMiss::WrongLane);
}

}  // namespace
