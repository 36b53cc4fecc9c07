// The frame dispatcher, read back from offscreen (a headless game presents nothing).
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/globals.h"
#include "app/headless_game.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/surface.h"
#include "records/score_table.h"
#include "records/stopwatch.h"

namespace {
constexpr Colorref kUntouched = Rgb(1, 2, 3);

class RenderFrameTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        offscreen->Fill(kUntouched);
        WindowOrigin = {100, 50};
    }
    Colorref At(int x, int y) const { return offscreen->PixelAt(WindowOrigin.x + x, WindowOrigin.y + y); }
};
}  // namespace

TEST_F(RenderFrameTest, UnknownScreenStateShowsOnlyTheBackgroundWithItsMagenta) {
    ScreenState = 7;
    render_frame();
    EXPECT_EQ(At(0, 0), kBackColour);
    EXPECT_EQ(At(639, 479), kBackColour);
    EXPECT_EQ(At(kBackMagentaPixel.x, kBackMagentaPixel.y), ColourKeyMagenta);  // copied without key
    EXPECT_EQ(At(600, kOverlayBandTop + 5), kBackColour);  // no overlay
    // Only the window's place on offscreen is drawn.
    EXPECT_EQ(At(-1, 0), kUntouched);
    EXPECT_EQ(At(640, 479), kUntouched);
    EXPECT_EQ(At(0, 480), kUntouched);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(RenderFrameTest, MenusAreCoveredByTheirOverlayWhereItIsNotMagenta) {
    const struct {
        std::int32_t state;
        Colorref band;
    } cases[] = {{CourseSelect, kMenu1Band}, {BusSelect, kMenu2Band}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        ScreenState = c.state;
        render_frame();
        EXPECT_EQ(At(600, kOverlayBandTop), c.band);
        EXPECT_EQ(At(0, 479), c.band);
        EXPECT_EQ(At(600, 10), kBackColour);  // magenta lets the background through
    }
}

TEST_F(RenderFrameTest, ACrashEndsTheRunWithoutTouchingTheScores) {
    // A road along x: the bus starts on the right facing left and drives off the course.
    WriteMapFile("0.map", 3, 3, 2, {1, 0, 1, 0, 16, 0});
    ASSERT_EQ(courseMap->LoadCourse(0), 1);
    bus->busType = 2;
    bus->Setup();
    ScreenState = Driving;
    render_frame();  // places the bus
    liveBusState.gear = 1;
    liveBusState.speed = 8;
    stopwatch->Start();

    for (int frame = 0; frame < 300 && ScreenState == Driving; ++frame) render_frame();
    ASSERT_EQ(ScreenState, Result);
    EXPECT_EQ(liveBusState.placed, 0);
    EXPECT_EQ(liveBusState.speed, 0.0);
    EXPECT_EQ(liveBusState.gear, 0);
    EXPECT_EQ(liveBusState.steering, 0.0);
    EXPECT_EQ(stopwatch->watchState, Stopped);
    EXPECT_EQ(bus->busType, 0);
    EXPECT_EQ(courseMap->lastCellY, 1);  // the map's extent stays for the next run
    EXPECT_EQ(scoreTable->Current(0).courseState, Open);
    EXPECT_TRUE(ReadBytes(ScoreFileName).empty());

    // The crash frame already drew the driving screen; the front overlay is on it.
    EXPECT_EQ(At(0, 479), kFrontBand);
}
