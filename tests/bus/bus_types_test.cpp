// Bus types, set-up and the steering limit.
#include <gtest/gtest.h>

#include "bus/bus_test_helpers.h"

namespace {

class BusSetupTest : public BusGlobalsTest {};

int OptionListLength(const BusGeometry& g) {
    int n = 0;
    while (n < MaxOptions && g.options[n].type != OptionEnd) ++n;
    return n;
}

TEST_F(BusSetupTest, EachTypeGetsItsMeasurementsAndSteeringLimit) {
    struct Case {
        int type;
        int length, wheelbase, halfWidth, minTurnRadius;
        Point driverPoint;
        Colorref bodyColour;
        int outlineCount, optionCount, maxSteer;
    };
    const Case cases[] = {
        {0, 101, 48, 12, 79, {7, -59}, Rgb(242, 236, 213), 4, 5, 63},
        {1, 87, 44, 11, 74, {6, -51}, Rgb(242, 236, 213), 4, 7, 57},
        {2, 98, 55, 11, 84, {6, -64}, Rgb(242, 236, 213), 4, 7, 64},
        {3, 120, 62, 12, 102, {7, -77}, Rgb(250, 150, 60), 8, 1, 58},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        SetupBusType(c.type);
        const BusGeometry& g = busGeometry;
        EXPECT_EQ(g.rearOverhang + g.wheelbase + g.frontOverhang, c.length);
        EXPECT_EQ(g.wheelbase, c.wheelbase);
        EXPECT_EQ(g.halfWidth, c.halfWidth);
        EXPECT_EQ(g.minTurnRadius, c.minTurnRadius);
        EXPECT_EQ(g.driverPoint, c.driverPoint);
        EXPECT_EQ(g.bodyColour, c.bodyColour);
        EXPECT_EQ(g.outlineCount, c.outlineCount);
        EXPECT_EQ(OptionListLength(g), c.optionCount);
        EXPECT_EQ(maxSteerDeg, c.maxSteer);
    }
}

// Catches a mistyped table value: the outline spans exactly from the rear end to the front
// end and across the width, the front wheels sit on the front axle just inside the sides,
// and every decoration lies on the body.
TEST_F(BusSetupTest, TablesAreGeometricallyConsistent) {
    for (int type = 0; type < BusTypeCount; ++type) {
        SCOPED_TRACE(type);
        const BusGeometry& g = BusTypeTables[type];
        int minX = 1000, maxX = -1000, minY = 1000, maxY = -1000;
        for (int i = 0; i < g.outlineCount; ++i) {
            minX = std::min(minX, g.outline[i].x);
            maxX = std::max(maxX, g.outline[i].x);
            minY = std::min(minY, g.outline[i].y);
            maxY = std::max(maxY, g.outline[i].y);
        }
        EXPECT_EQ(minX, -g.halfWidth);
        EXPECT_EQ(maxX, g.halfWidth);
        EXPECT_EQ(minY, -(g.wheelbase + g.frontOverhang));
        EXPECT_EQ(maxY, g.rearOverhang);
        EXPECT_EQ(g.frontWheel[0], (Point{-(g.halfWidth - 1), -g.wheelbase}));
        EXPECT_EQ(g.frontWheel[1], (Point{g.halfWidth - 1, -g.wheelbase}));
        EXPECT_GT(g.driverPoint.x, 0);
        EXPECT_GT(g.driverPoint.y, minY);
        for (int e = 0; e < OptionListLength(g); ++e) {
            const BusOption& o = g.options[e];
            SCOPED_TRACE(e);
            EXPECT_TRUE(o.type == OptionLinePairs || o.type == OptionOutlinedPolygon);
            EXPECT_GT(o.count, 0);
            EXPECT_LE(o.count, MaxOptionPoints);
            if (o.type == OptionLinePairs) {
                EXPECT_EQ(o.count % 2, 0);
            }
            for (int i = 0; i < o.count; ++i) {
                EXPECT_GE(o.points[i].x, minX);
                EXPECT_LE(o.points[i].x, maxX);
                EXPECT_GE(o.points[i].y, minY);
                EXPECT_LE(o.points[i].y, maxY);
            }
        }
        for (int e = OptionListLength(g); e < MaxOptions; ++e) EXPECT_EQ(g.options[e].count, 0);
    }
}

TEST_F(BusSetupTest, ShorterOptionListReplacesLongerOne) {
    SetupBusType(1);
    ASSERT_EQ(busGeometry.options[5].type, OptionOutlinedPolygon);
    SetupBusType(0);
    for (int e = 5; e < MaxOptions; ++e) {
        EXPECT_EQ(busGeometry.options[e].type, OptionEnd) << e;
        EXPECT_EQ(busGeometry.options[e].count, 0) << e;
    }
    // Type 0's fourth decoration, not type 1's.
    EXPECT_EQ(busGeometry.options[4].points[0], (Point{-1, 23}));
}

TEST_F(BusSetupTest, UnknownTypeKeepsMeasurementsButDropsDecorations) {
    for (int unknown : {-1, 4, 99}) {
        SetupBusType(2);
        SetupBusType(unknown);
        EXPECT_EQ(busGeometry.wheelbase, 55) << unknown;
        EXPECT_EQ(busGeometry.options[0].type, OptionEnd) << unknown;
        EXPECT_EQ(maxSteerDeg, 64) << unknown;
    }
}

TEST_F(BusSetupTest, SetupStopsTheBusAndAsksForPlacementInBothCopies) {
    liveBusState = {};
    frameBusState.x = 123;
    frameBusState.speed = 5.5;
    frameBusState.gear = -1;
    frameBusState.heading = 2.0;
    frameBusState.steering = 0.3;
    frameBusState.placed = 1;
    SetupBusType(3);
    for (const BusState* s : {&frameBusState, &liveBusState}) {
        EXPECT_EQ(s->speed, 0.0);
        EXPECT_EQ(s->gear, 0);
        EXPECT_EQ(s->heading, 0.0);
        EXPECT_EQ(s->steering, 0.0);
        EXPECT_EQ(s->placed, 0);
        EXPECT_EQ(s->x, 123);  // the position waits for the placement
    }
}

TEST(BusAngles, ConversionsKeepTheirOffsetAndTruncation) {
    EXPECT_EQ(Bus::RadToDeg(1.0), 58);
    EXPECT_EQ(Bus::RadToDeg(0.0), 1);
    EXPECT_EQ(Bus::RadToDeg(-1.0), -56);
    EXPECT_EQ(Bus::DegToRad(90), 1.5707963267948966);
    EXPECT_EQ(Bus::DegToRad(-90), -1.5707963267948966);
}

}  // namespace
