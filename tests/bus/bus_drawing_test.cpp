// The bus drawn into the course view: wheels under the body, the body fill, the decorations.
#include <gtest/gtest.h>

#include "bus/bus_test_helpers.h"
#include "support/test_support.h"

namespace {

constexpr Colorref Ground = Rgb(90, 90, 90);
constexpr Colorref Black = Rgb(0, 0, 0);
constexpr Colorref Body = Rgb(242, 236, 213);

class BusDrawingTest : public BusGlobalsTest {
protected:
    void SetUp() override {
        BusGlobalsTest::SetUp();
        mapscreen = MakeFilledSurface(640, 640, Ground);
    }
    // A bus of the given type standing on the centre tile, copied for drawing.
    void StandBus(int type, double steering) {
        SetupBusType(type);
        liveBusState.x = liveBusState.y = 320;
        liveBusState.exactX = liveBusState.exactY = 320.0;
        liveBusState.heading = 0.0;
        liveBusState.steering = steering;
        bus.Transform();
        frameBusState = liveBusState;
    }
    // Only the decorations given, on a small body far from them.
    void DecorationsOnly(std::initializer_list<BusOption> options) {
        frameBusState = {};
        frameBusState.outlineCount = 4;
        const Point body[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
        std::copy(body, body + 4, frameBusState.outline);
        int e = 0;
        for (const BusOption& o : options) frameBusState.options[e++] = o;
    }
    Bus bus;
    CourseMap map;
};

BusOption Option(int type, Colorref colour, std::initializer_list<Point> points) {
    BusOption o{};
    o.type = type;
    o.colour = colour;
    o.count = static_cast<int>(points.size());
    std::copy(points.begin(), points.end(), o.points);
    return o;
}

TEST_F(BusDrawingTest, BodyIsFilledWithoutOutlineAndHidesStraightWheels) {
    StandBus(0, 0.0);
    map.DrawBus();
    // Rear corners (not covered by decorations) and the middle show the body colour.
    EXPECT_EQ(mapscreen->PixelAt(320 - 12, 320 + 20), Body);
    EXPECT_EQ(mapscreen->PixelAt(320 + 11, 320 + 20), Body);
    EXPECT_EQ(mapscreen->PixelAt(320, 320 - 30), Body);
    // The left wheel stroke lies inside the body and is painted over. (The right one's
    // front end rounds outward onto the body edge, so it may show by a pixel.)
    EXPECT_EQ(CountPixels(*mapscreen, {300, 260, 320, 285}, Black), 0);
    // The body stays within its outline.
    EXPECT_EQ(mapscreen->PixelAt(320 - 14, 320), Ground);
    EXPECT_EQ(mapscreen->PixelAt(320 + 14, 320), Ground);
}

TEST_F(BusDrawingTest, SteeredWheelSticksOutPastTheBody) {
    StandBus(0, Bus::DegToRad(63));
    map.DrawBus();
    // Left of the body, beside the front axle.
    EXPECT_GT(CountPixels(*mapscreen, {300, 320 - 56, 308, 320 - 40}, Black), 0);
    EXPECT_GT(CountPixels(*mapscreen, {333, 320 - 56, 340, 320 - 40}, Black), 0);
}

TEST_F(BusDrawingTest, DecorationWalkSkipsUnknownKindsAndStopsAtTheEnd) {
    const Colorref pairs = Rgb(1, 2, 3), unknown = Rgb(4, 5, 6), outlined = Rgb(7, 8, 9),
                   filled = Rgb(10, 11, 12), afterEnd = Rgb(13, 14, 15);
    DecorationsOnly({
        // Six separate lines along row 100, with gaps between them.
        Option(OptionLinePairs, pairs,
               {{100, 100}, {110, 100}, {120, 100}, {130, 100}, {140, 100}, {150, 100},
                {160, 100}, {170, 100}, {180, 100}, {190, 100}, {200, 100}, {210, 100}}),
        Option(4, unknown, {{100, 300}, {200, 300}, {200, 400}, {100, 400}}),
        Option(OptionOutlinedPolygon, outlined, {{100, 200}, {120, 200}, {120, 220}, {100, 220}}),
        Option(OptionFilledPolygon, filled, {{200, 200}, {220, 200}, {220, 220}, {200, 220}}),
        Option(OptionEnd, 0, {}),
        Option(OptionLinePairs, afterEnd, {{100, 500}, {200, 500}}),
    });
    map.DrawBus();

    std::vector<int> expected;
    for (int start = 100; start <= 200; start += 20)
        for (int x = start; x < start + 10; ++x) expected.push_back(x);
    EXPECT_EQ(ColumnsWithColour(*mapscreen, 100, 0, 640, pairs), expected);

    EXPECT_EQ(CountPixels(*mapscreen, {0, 0, 640, 640}, unknown), 0);
    EXPECT_EQ(CountPixels(*mapscreen, {0, 0, 640, 640}, afterEnd), 0);

    // Outlined: the closing edge is drawn and the inside is left alone.
    EXPECT_EQ(mapscreen->PixelAt(110, 200), outlined);
    EXPECT_EQ(mapscreen->PixelAt(100, 210), outlined);
    EXPECT_EQ(mapscreen->PixelAt(110, 210), Ground);
    // Filled: the inside is painted.
    EXPECT_EQ(mapscreen->PixelAt(210, 210), filled);
}

TEST_F(BusDrawingTest, ListStartingWithTheEndDrawsNoDecorations) {
    DecorationsOnly({Option(OptionEnd, 0, {}), Option(OptionLinePairs, Rgb(1, 2, 3), {{100, 100}, {200, 100}})});
    map.DrawBus();
    EXPECT_EQ(CountPixels(*mapscreen, {0, 0, 640, 640}, Rgb(1, 2, 3)), 0);
}

TEST_F(BusDrawingTest, EveryDecorationOfTheTypeIsDrawnOnTheBody) {
    StandBus(1, 0.0);
    map.DrawBus();
    const Colorref darkGrey = Rgb(60, 60, 60);
    const BusOption* o = frameBusState.options;
    // The front cross line of entry 0 and the nested rectangles of entries 5 and 6, hollow.
    EXPECT_EQ(mapscreen->PixelAt(320, o[0].points[0].y), darkGrey);
    EXPECT_EQ(mapscreen->PixelAt(320, o[5].points[0].y), darkGrey);
    EXPECT_EQ(mapscreen->PixelAt(320, o[6].points[0].y), darkGrey);
    EXPECT_EQ(mapscreen->PixelAt(320, o[6].points[0].y + 3), Body);
}

TEST_F(BusDrawingTest, FailedCallsLeaveTheirLogsAndDrawingGoesOn) {
    struct Case {
        bool GdiFaults::*fault;
        const char* file;
        std::string message;
    };
    const Case cases[] = {
        {&GdiFaults::createSolidBrush, "error_CreateSolidBrush.txt", "CreateSolidBrush = N"},
        {&GdiFaults::createPolygonRgn, "error_CreatePolygonRgn.txt", "CreatePolygonRgn = N"},
        {&GdiFaults::fillRgn, "error_FillRgn.txt", std::string("FillRgn = FALSE\0\0\0\0\0", 20)},
        {&GdiFaults::createPen, "error_CreatePen.txt", "CreatePen = NULL at "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ScopedWorkDir dir;
        StandBus(0, 0.0);
        gdiFaults = GdiFaults{};
        gdiFaults.*c.fault = true;
        map.DrawBus();
        gdiFaults = GdiFaults{};
        const auto bytes = ReadBytes(c.file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.message);
        // The decorations after a failed body are still drawn.
        if (c.fault != &GdiFaults::createPen) {
            EXPECT_EQ(mapscreen->PixelAt(320, frameBusState.options[0].points[0].y), Rgb(60, 60, 60));
        }
    }
}

TEST_F(BusDrawingTest, NoDrawingContextDrawsNothing) {
    StandBus(0, 0.0);
    gdiFaults.getDC = true;
    map.DrawBus();
    EXPECT_EQ(CountPixels(*mapscreen, {0, 0, 640, 640}, Ground), 640 * 640);
}

}  // namespace
