// Placement on the start tile, motion, rotation of body points, shifting and view following.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "bus/bus_test_helpers.h"

namespace {

constexpr double Pi = 3.141592653589793;

class BusMotionTest : public BusGlobalsTest {
protected:
    // A bus of the given type standing at (x, y) with the heading, transformed.
    void StandAt(int type, int x, int y, double heading) {
        SetupBusType(type);
        liveBusState.x = x;
        liveBusState.y = y;
        liveBusState.exactX = x;
        liveBusState.exactY = y;
        liveBusState.heading = heading;
        liveBusState.placed = 1;
        bus.Transform();
    }
    Bus bus;
    CourseMap map;
};

TEST_F(BusMotionTest, PlacementPutsTheMiddleOfTheBusOnTheStartTile) {
    struct Case {
        int type, code;
        int x, y;
        double heading;
    };
    // m = 19, 18, 26, 28 and k = 44, 43, 43, 44 for types 0 to 3.
    const Case cases[] = {
        {0, 16, 339, 339, Pi / 2}, {0, 17, 301, 300, -Pi / 2}, {0, 18, 300, 339, 0.0}, {0, 19, 339, 301, Pi},
        {1, 16, 338, 340, Pi / 2}, {1, 17, 302, 299, -Pi / 2}, {1, 18, 299, 338, 0.0}, {1, 19, 340, 302, Pi},
        {2, 16, 346, 340, Pi / 2}, {2, 17, 294, 299, -Pi / 2}, {2, 18, 299, 346, 0.0}, {2, 19, 340, 294, Pi},
        {3, 16, 348, 339, Pi / 2}, {3, 17, 292, 300, -Pi / 2}, {3, 18, 300, 348, 0.0}, {3, 19, 339, 292, Pi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " code " << c.code);
        SetupBusType(c.type);
        frameBusState.speed = 1.5;  // placement keeps the controls as they are
        map.PlaceBus(c.code);
        for (const BusState* s : {&frameBusState, &liveBusState}) {
            EXPECT_EQ(s->x, c.x);
            EXPECT_EQ(s->y, c.y);
            EXPECT_EQ(s->exactX, c.x);
            EXPECT_EQ(s->exactY, c.y);
            EXPECT_DOUBLE_EQ(s->heading, c.heading);
            EXPECT_EQ(s->placed, 1);
            EXPECT_EQ(s->speed, 1.5);
        }
        // Transformed: the driver's seat is in the centre tile of the view.
        EXPECT_GE(liveBusState.driverPoint.x, 256);
        EXPECT_LE(liveBusState.driverPoint.x, 383);
        EXPECT_GE(liveBusState.driverPoint.y, 256);
        EXPECT_LE(liveBusState.driverPoint.y, 383);
    }
}

TEST_F(BusMotionTest, PlacementOnANonStartCodeKeepsThePositionButStillPlaces) {
    SetupBusType(0);
    frameBusState.x = 100;
    frameBusState.y = 200;
    frameBusState.heading = 0.5;
    for (int code : {-1, 0, 15, 20}) {
        const int cellX = map.currentCellX;
        const int cellY = map.currentCellY;
        map.PlaceBus(code);
        // The bus stays where it was on the course; the view comes to its driver's seat.
        EXPECT_EQ(liveBusState.x + TileSize * (map.currentCellX - cellX), 100) << code;
        EXPECT_EQ(liveBusState.exactY + TileSize * (map.currentCellY - cellY), 200.0) << code;
        EXPECT_GE(liveBusState.driverPoint.x, 256) << code;
        EXPECT_LT(liveBusState.driverPoint.y, 384) << code;
        EXPECT_EQ(liveBusState.heading, 0.5) << code;
        EXPECT_EQ(liveBusState.placed, 1) << code;
    }
}

TEST_F(BusMotionTest, StraightAheadMovesAlongTheHeading) {
    StandAt(0, 300, 339, 0.0);
    liveBusState.speed = 2.0;
    bus.Advance();
    EXPECT_EQ(liveBusState.exactX, 300.0);
    EXPECT_EQ(liveBusState.exactY, 337.0);
    EXPECT_EQ(liveBusState.y, 337);
    EXPECT_EQ(liveBusState.heading, 0.0);

    // Facing left, in reverse: the bus backs towards +x; positions truncate toward zero.
    StandAt(0, 300, 339, Pi / 2);
    liveBusState.speed = -0.5;
    bus.Advance();
    EXPECT_DOUBLE_EQ(liveBusState.exactX, 300.5);
    EXPECT_EQ(liveBusState.x, 300);
    EXPECT_NEAR(liveBusState.exactY, 339.0, 1e-12);
}

// The ghost's way: a bus step on records of its own places, moves and follows them and its
// own cell, and leaves the player's records and the course map's cell as they were.
TEST_F(BusMotionTest, AStepOnOtherRecordsLeavesThePlayersAlone) {
    SetupBusType(0);
    const BusState playerBefore = liveBusState;
    BusState live{}, frame{};
    BusGeometry geometry{};
    std::int32_t maxSteer = 0, cellX = 0, cellY = 0;
    const BusRecords own{live, frame, geometry, maxSteer};
    SetUpBus(own, 3);
    map.grid[4][6] = TileStartUp;
    map.startCellX = 4;
    map.startCellY = 6;
    map.currentCellX = map.currentCellY = 9;
    map.MoveBus(own, cellX, cellY);
    EXPECT_EQ(maxSteer, 58);
    EXPECT_EQ(frame.x, 300);
    EXPECT_EQ(frame.y, 348);
    live.speed = 40.0;  // the driver's seat leaves the centre tile upwards
    map.MoveBus(own, cellX, cellY);
    EXPECT_EQ(frame.y, 348 - 40 + 128);
    EXPECT_EQ(cellX, 4);
    EXPECT_EQ(cellY, 5);
    EXPECT_EQ(map.currentCellX, 9);
    EXPECT_EQ(map.currentCellY, 9);
    EXPECT_EQ(maxSteerDeg, 63);
    EXPECT_EQ(std::memcmp(&liveBusState, &playerBefore, sizeof playerBefore), 0);
}

TEST_F(BusMotionTest, HeadingWrapsOnceEachWay) {
    struct Case {
        double before, after;
    };
    const Case cases[] = {
        {3.2, -3.083185307179586}, {-3.2, 3.083185307179586}, {Pi, Pi}, {-Pi, -Pi}, {1.0, 1.0},
    };
    for (const Case& c : cases) {
        StandAt(0, 300, 300, c.before);
        bus.Advance();
        EXPECT_EQ(liveBusState.heading, c.after) << c.before;
    }
}

TEST_F(BusMotionTest, AnyNonZeroSteeringTurnsTheBus) {
    StandAt(0, 300, 300, 0.0);
    liveBusState.speed = 2.0;
    liveBusState.steering = 1e-9;
    bus.Advance();
    EXPECT_GT(liveBusState.heading, 0.0);

    StandAt(0, 300, 300, 0.0);
    liveBusState.speed = -2.0;
    liveBusState.steering = Bus::DegToRad(20);
    bus.Advance();
    EXPECT_LT(liveBusState.heading, 0.0);
    EXPECT_GT(liveBusState.exactY, 300.0);  // reversing moves it down the screen
}

// Forward with the wheels turned left, a quarter of the turning circle leaves the bus
// facing left, one radius up and one radius to the left; the full circle brings it back.
TEST_F(BusMotionTest, ArcFollowsTheTurningCircle) {
    const int frames = 100;
    StandAt(0, 320, 320, 0.0);
    liveBusState.steering = Bus::DegToRad(30);
    const double radius = 48.0 / std::tan(liveBusState.steering);
    liveBusState.speed = 2.0 * Pi * radius / frames;
    for (int f = 0; f < frames / 4; ++f) bus.Advance();
    EXPECT_NEAR(liveBusState.heading, Pi / 2, 1e-9);
    const double chordError = radius * 2.0 * Pi / frames;  // the chord is laid along the new heading
    EXPECT_NEAR(liveBusState.exactX, 320.0 - radius, chordError);
    EXPECT_NEAR(liveBusState.exactY, 320.0 - radius, chordError);
    for (int f = frames / 4; f < frames; ++f) bus.Advance();
    EXPECT_NEAR(liveBusState.exactX, 320.0, 1e-9);
    EXPECT_NEAR(liveBusState.exactY, 320.0, 1e-9);
    EXPECT_NEAR(liveBusState.heading, 0.0, 1e-9);
}

TEST_F(BusMotionTest, RotatePointRoundsOutward) {
    EXPECT_EQ(Bus::RotatePoint(0, -5, 0.0), (Point{1, -5}));
    for (double a : {0.0, 0.7, -2.0, Pi})
        EXPECT_EQ(Bus::RotatePoint(0, 0, a), (Point{0, 0})) << a;
    // Counter-clockwise on the screen: the bus's front (-y) turns to the left (-x).
    const Point p = Bus::RotatePoint(0, -50, Pi / 2);
    EXPECT_EQ(p.x, -50);
    EXPECT_LE(std::abs(p.y), 1);
    // A non-integer result always goes away from zero.
    EXPECT_EQ(Bus::RotatePoint(10, 0, 0.1), (Point{10, -1}));
}

TEST_F(BusMotionTest, TransformCarriesBodyPointsIntoTheView) {
    // Facing left: body x maps to -y on screen and body y to +x.
    StandAt(0, 339, 339, Pi / 2);
    const BusState& s = liveBusState;
    const auto near = [](Point actual, Point expected) {
        return std::abs(actual.x - expected.x) <= 1 && std::abs(actual.y - expected.y) <= 1;
    };
    EXPECT_EQ(s.outlineCount, 4);
    EXPECT_TRUE(near(s.outline[1], {339 - 70, 339 + 12}));  // front left corner
    EXPECT_TRUE(near(s.driverPoint, {339 - 59, 339 - 7}));
    EXPECT_TRUE(near(s.frontWheel[0], {339 - 48, 339 + 11}));
    EXPECT_TRUE(near(s.rearWheel[0], {339, 339 + 12}));
    EXPECT_TRUE(near(s.rearWheel[1], {339, 339 - 12}));
    EXPECT_TRUE(near(s.options[3].points[0], {339 - 63, 339 + 2}));
    EXPECT_EQ(s.options[4].count, 8);
    EXPECT_EQ(s.options[5].type, OptionEnd);
    EXPECT_EQ(s.options[5].count, 0);
}

TEST_F(BusMotionTest, WheelStrokesPointAlongHeadingPlusSteering) {
    StandAt(0, 300, 339, 0.0);
    liveBusState.steering = Bus::DegToRad(45);
    bus.Transform();
    for (int w = 0; w < 2; ++w) {
        const Point centre = liveBusState.frontWheel[w];
        const Point front = liveBusState.frontWheelLine[w][0];
        const Point back = liveBusState.frontWheelLine[w][1];
        // Turned left: the front end of each stroke swings to -x, the back end to +x, each
        // five pixels from the wheel (3.5 along either axis, rounded outward).
        EXPECT_EQ((Point{front.x - centre.x, front.y - centre.y}), (Point{-4, -4}));
        EXPECT_EQ((Point{back.x - centre.x, back.y - centre.y}), (Point{4, 4}));
    }
}

TEST_F(BusMotionTest, ShiftMovesEveryCourseCoordinate) {
    StandAt(1, 300, 300, 0.4);
    liveBusState.steering = 0.2;
    bus.Transform();
    const BusState before = liveBusState;
    bus.Shift(1, -2);
    const BusState& s = liveBusState;
    const auto moved = [](Point a, Point b) { return b.x == a.x - 128 && b.y == a.y + 256; };
    EXPECT_EQ(s.exactX, before.exactX - 128);
    EXPECT_EQ(s.exactY, before.exactY + 256);
    EXPECT_EQ(s.x, before.x - 128);
    EXPECT_EQ(s.y, before.y + 256);
    for (int i = 0; i < s.outlineCount; ++i) EXPECT_TRUE(moved(before.outline[i], s.outline[i])) << i;
    EXPECT_TRUE(moved(before.driverPoint, s.driverPoint));
    for (int w = 0; w < 2; ++w) {
        EXPECT_TRUE(moved(before.frontWheel[w], s.frontWheel[w]));
        EXPECT_TRUE(moved(before.frontWheelLine[w][0], s.frontWheelLine[w][0]));
        EXPECT_TRUE(moved(before.frontWheelLine[w][1], s.frontWheelLine[w][1]));
        EXPECT_TRUE(moved(before.rearWheel[w], s.rearWheel[w]));
    }
    for (int e = 0; e < MaxOptions; ++e)
        for (int i = 0; i < MaxOptionPoints; ++i) {
            const bool used = i < before.options[e].count;
            EXPECT_EQ(moved(before.options[e].points[i], s.options[e].points[i]), used) << e << "/" << i;
        }
}

TEST_F(BusMotionTest, FollowBusRecentresOnTheDriversTile) {
    struct Case {
        Point driver;
        int tilesX, tilesY;
    };
    const Case cases[] = {
        {{400, 300}, 1, 0}, {{256, 256}, 0, 0}, {{383, 383}, 0, 0}, {{255, 384}, -1, 1},
        {{300, 127}, 0, -2}, {{520, 600}, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.driver.x << "," << c.driver.y);
        liveBusState = {};
        liveBusState.x = 300;
        liveBusState.driverPoint = c.driver;
        map.currentCellX = 5;
        map.currentCellY = 7;
        map.FollowBus();
        EXPECT_EQ(map.currentCellX, 5 + c.tilesX);
        EXPECT_EQ(map.currentCellY, 7 + c.tilesY);
        EXPECT_EQ(liveBusState.x, 300 - 128 * c.tilesX);
        EXPECT_EQ(liveBusState.driverPoint.x, c.driver.x - 128 * c.tilesX);
        EXPECT_EQ(liveBusState.driverPoint.y, c.driver.y - 128 * c.tilesY);
    }
}

}  // namespace
