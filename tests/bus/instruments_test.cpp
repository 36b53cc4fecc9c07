// The gear indicator and the steering gauge, read back from the screen.
#include <gtest/gtest.h>

#include "bus/bus_test_helpers.h"
#include "support/test_support.h"

namespace {

constexpr Colorref Green = Rgb(0, 255, 0);
constexpr Colorref Blank = Rgb(0, 0, 0);

class InstrumentsTest : public BusGlobalsTest {
protected:
    void SetUp() override {
        BusGlobalsTest::SetUp();
        offscreen = MakeFilledSurface(640, 480, Blank);
    }
    // Green columns of the gauge row, as first..last; {0, -1} when none.
    std::pair<int, int> GaugeSpan(int y) const {
        const auto columns = ColumnsWithColour(*offscreen, y, 0, offscreen->Width(), Green);
        if (columns.empty()) return {0, -1};
        EXPECT_EQ(columns.back() - columns.front() + 1, static_cast<int>(columns.size())) << "gap in the bar";
        return {columns.front(), columns.back()};
    }
};

TEST_F(InstrumentsTest, SteeringGaugeSpansForEveryType) {
    struct Case {
        int type;
        int degrees;  // steering in whole degrees as the keys set it
        int from, to;
    };
    const Case cases[] = {
        {0, 0, 236, 236}, {0, 4, 230, 236}, {0, -4, 236, 243}, {0, 63, 136, 236}, {0, -63, 236, 337},
        {1, 0, 236, 236}, {1, 4, 229, 236}, {1, -4, 236, 244}, {1, 57, 136, 236}, {1, -57, 236, 337},
        {2, 0, 236, 236}, {2, 4, 230, 236}, {2, -4, 236, 243}, {2, 64, 136, 236}, {2, -64, 236, 337},
        {3, 0, 236, 236}, {3, 4, 229, 236}, {3, -4, 236, 244}, {3, 58, 136, 236}, {3, -58, 236, 337},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.degrees << " degrees");
        SetupBusType(c.type);
        offscreen->Fill(Blank);
        liveBusState.steering = Bus::DegToRad(c.degrees);
        DrawSteeringGauge();
        for (int y : {428, 438, 447}) EXPECT_EQ(GaugeSpan(y), std::make_pair(c.from, c.to)) << "row " << y;
        EXPECT_EQ(GaugeSpan(427), std::make_pair(0, -1));
        EXPECT_EQ(GaugeSpan(448), std::make_pair(0, -1));
    }
}

TEST_F(InstrumentsTest, SteeringGaugeFollowsTheWindowOrigin) {
    offscreen = MakeFilledSurface(800, 600, Blank);
    WindowOrigin = {30, 40};
    SetupBusType(0);
    liveBusState.steering = Bus::DegToRad(-4);
    DrawSteeringGauge();
    EXPECT_EQ(GaugeSpan(40 + 438), std::make_pair(30 + 236, 30 + 243));
    EXPECT_EQ(GaugeSpan(438), std::make_pair(0, -1));
}

TEST_F(InstrumentsTest, FailedRectangleIsLoggedAndTheCentreMarkStays) {
    ScopedWorkDir dir;
    SetupBusType(0);
    liveBusState.steering = Bus::DegToRad(16);
    gdiFaults.rectangle = true;
    DrawSteeringGauge();
    const auto bytes = ReadBytes("error_Rectangle.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Rectangle = FALSE at");
    EXPECT_EQ(GaugeSpan(438), std::make_pair(236, 236));
}

TEST_F(InstrumentsTest, SteeringGaugeWithoutDrawingContextDrawsNothing) {
    SetupBusType(0);
    gdiFaults.getDC = true;
    DrawSteeringGauge();
    EXPECT_EQ(CountPixels(*offscreen, {0, 0, 640, 480}, Blank), 640 * 480);
}

// Each cell of the gear picture is 24 wide, but only its first 23 columns are shown,
// stretched over the 24-pixel indicator.
TEST_F(InstrumentsTest, GearIndicatorShowsTheCellOfTheGear) {
    const Colorref cellColours[3] = {Rgb(200, 0, 0), Rgb(0, 0, 200), Rgb(0, 200, 0)};
    const Colorref hiddenColumn = Rgb(255, 0, 255);
    gearSurface = MakeFilledSurface(72, 36, hiddenColumn);
    for (int cell = 0; cell < 3; ++cell) gearSurface->FillRect({24 * cell, 0, 24 * cell + 23, 36}, cellColours[cell]);
    gearSurface->SetColourKey(ColourKeyMagenta);

    for (int gear : {-1, 0, 1}) {
        SCOPED_TRACE(gear);
        offscreen->Fill(Blank);
        frameBusState.gear = gear;
        DrawGear();
        EXPECT_EQ(CountPixels(*offscreen, {60, 420, 84, 456}, cellColours[gear + 1]), 24 * 36);
        EXPECT_EQ(CountPixels(*offscreen, {0, 0, 640, 480}, Blank), 640 * 480 - 24 * 36);
    }
}

}  // namespace
