// The frame dispatcher, read back from offscreen (a headless game presents nothing).
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app.h"
#include "app/headless_fixtures.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"

namespace {
constexpr Colorref kUntouched = Rgb(1, 2, 3);

class RenderFrameTest : public HeadlessGameTest {
protected:
    void SetUp() override {
        HeadlessGameTest::SetUp();
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

// The driving frame draws its background only where front.bmp lets it show, and outside the
// course view; what shows must be back.bmp as it is, its own magenta included. With front.bmp
// unusable the background goes everywhere around the view again.
TEST_F(RenderFrameTest, DrivingBackgroundShowsWhereTheFrontOverlayLetsIt) {
    WriteMapFile("0.map", 3, 3, 2, {1, 0, 1, 0, 16, 0});
    ASSERT_EQ(courseMap->LoadCourse(0), 1);
    bus->Setup();
    ScreenState = Driving;
    for (const bool frontLost : {false, true}) {
        SCOPED_TRACE(frontLost ? "front.bmp lost" : "front.bmp usable");
        frontSurface->SetLost(frontLost);
        offscreen->Fill(kUntouched);
        render_frame();
        EXPECT_EQ(At(kBackMagentaPixel.x, kBackMagentaPixel.y), ColourKeyMagenta);
        EXPECT_EQ(At(600, 10), kBackColour);
        EXPECT_EQ(At(600, kOverlayBandTop + 5), frontLost ? kBackColour : kFrontBand);
    }
}

// A static screen whose frame is in the window rests until something happens; a screen that
// changes by itself, a screen changed by the frame itself, and a frame that did not reach
// the window are drawn again.
TEST_F(RenderFrameTest, StaticScreensRestOnceTheirFrameIsInTheWindow) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    mainWindow = Window::Create(MainWindowProc, "QuonfelTest", "テスト", 0, 0, 640, 480);
    ASSERT_TRUE(mainWindow);
    WindowOrigin = {0, 0};
    for (const std::int32_t screen : {std::int32_t{CourseSelect}, std::int32_t{BusSelect}, std::int32_t{Result}, 7}) {
        SCOPED_TRACE(screen);
        ScreenState = screen;
        EXPECT_TRUE(FrameWouldShowSomethingNew());
        render_frame();
        EXPECT_FALSE(FrameWouldShowSomethingNew());
        NoteWindowMessage();  // a key, the mouse, the window uncovered...
        EXPECT_TRUE(FrameWouldShowSomethingNew());
        render_frame();
    }
    courseMap->goalReached = 1;
    stopwatch->penaltyRunning = 1;  // still counting on the result screen
    ScreenState = Result;
    render_frame();
    EXPECT_TRUE(FrameWouldShowSomethingNew());
    stopwatch->penaltyRunning = 0;

    WriteMapFile("0.map", 3, 3, 2, {1, 0, 1, 0, 16, 0});
    ASSERT_EQ(courseMap->LoadCourse(0), 1);
    bus->Setup();
    ScreenState = Driving;
    render_frame();
    EXPECT_TRUE(FrameWouldShowSomethingNew());
    ScreenState = Result;  // as a crash leaves it at the end of a driving frame
    EXPECT_TRUE(FrameWouldShowSomethingNew());

    ScreenState = CourseSelect;
    offscreen->SetLost(true);
    render_frame();
    EXPECT_TRUE(FrameWouldShowSomethingNew());
    EXPECT_EQ(boxes.boxes.size(), 1u);  // and the next frame shows the box again
    offscreen->SetLost(false);
    mainWindow.reset();
}
