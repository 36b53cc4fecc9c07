// The digit pictures of the driving screen and the result screen, read back pixel by pixel.
#include <gtest/gtest.h>

#include "course/course_map.h"
#include "records/screen_fixture.h"
#include "support/test_support.h"

namespace {

// Every glyph cell of the test's number.bmp has its own colour, so a copied cell tells
// which glyph of which row was taken.
Colorref GlyphColour(int glyph, int row) { return Rgb(10 + 20 * glyph, row == 0 ? 90 : 180, 33); }

std::unique_ptr<Surface> NumberPicture() {
    auto surface = Surface::Create(132, 42);
    for (int row = 0; row < 2; ++row) {
        for (int g = 0; g < 11; ++g) surface->FillRect({12 * g, 21 * row, 12 * g + 12, 21 * row + 21}, GlyphColour(g, row));
    }
    return surface;
}

// The glyph numbers a time text should be drawn with.
std::vector<int> Glyphs(const char* text) {
    std::vector<int> glyphs;
    for (int k = 0; k < 8; ++k) glyphs.push_back(text[k] == ':' ? 10 : text[k] - '0');
    return glyphs;
}

constexpr Colorref Untouched = 0x123456;

class TimeDisplayTest : public ScreenTest {
protected:
    void Draw(Point origin) {
        InstallScreen(800, 600, origin);
        offscreen->Fill(Untouched);
        numberSurface = NumberPicture();
        courseMap.DrawTimes();
    }

    // The eight cells of one time line at (ox + 505, top) show exactly these glyphs.
    void ExpectLine(Point origin, int top, int row, const char* text) {
        const std::vector<int> glyphs = Glyphs(text);
        for (int k = 0; k < 8; ++k) {
            const int left = origin.x + 505 + 12 * k;
            EXPECT_TRUE(AllPixels(*offscreen, {left, origin.y + top, left + 12, origin.y + top + 21},
                                  GlyphColour(glyphs[k], row)))
                << "position " << k << " of " << text;
        }
    }

    // Nothing outside the two lines of cells was touched.
    void ExpectNothingElse(Point origin) {
        const int left = origin.x + 505, right = left + 96;
        const int drawn = 2 * 96 * 21;
        EXPECT_EQ(CountPixels(*offscreen, {0, 0, 800, 600}, Untouched), 800 * 600 - drawn);
        EXPECT_EQ(offscreen->PixelAt(left - 1, origin.y + 120), Untouched);
        EXPECT_EQ(offscreen->PixelAt(right, origin.y + 120), Untouched);
        EXPECT_EQ(offscreen->PixelAt(left, origin.y + 141), Untouched);
        EXPECT_EQ(offscreen->PixelAt(left, origin.y + 154), Untouched);
        EXPECT_EQ(offscreen->PixelAt(left, origin.y + 176), Untouched);
    }

    CourseMap courseMap;
    FakeClock clock;
};

}  // namespace

TEST_F(TimeDisplayTest, BeforeTheFirstKeyBothLinesShowZeroesAndColonsOnly) {
    for (Point origin : {Point{0, 0}, Point{37, 52}}) {
        SCOPED_TRACE(testing::Message() << "origin " << origin.x << "," << origin.y);
        Draw(origin);
        ExpectLine(origin, 120, 0, "00:00:00");
        ExpectLine(origin, 155, 1, "00:00:00");
        ExpectNothingElse(origin);
    }
}

TEST_F(TimeDisplayTest, RunningTimesPickTheirDigitGlyphsFromTheirOwnRow) {
    stopwatch->Start();
    clock.wallSeconds += 3725;
    stopwatch->penaltyTime = 4 * 3600 + 57 * 60 + 38;
    Draw(Point{0, 0});
    ExpectLine(Point{0, 0}, 120, 0, "01:02:05");
    ExpectLine(Point{0, 0}, 155, 1, "04:57:38");
    ExpectNothingElse(Point{0, 0});
}

namespace {

constexpr Colorref GoalinColour = Rgb(20, 160, 60);
constexpr Colorref DiscontinueColour = Rgb(90, 20, 140);
constexpr Colorref White = 0xFFFFFF;
constexpr Colorref Black = 0x000000;
constexpr Colorref Red = 0x0000FF;

class ResultScreenTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        offscreen->Fill(Untouched);
        goalinSurface = FilledSurface(640, 480, GoalinColour);
        discontinueSurface = FilledSurface(640, 480, DiscontinueColour);
        // A drive of 75 seconds with 120 penalty seconds.
        stopwatch->watchState = Stopped;
        stopwatch->driveTime = 75;
        stopwatch->penaltyTime = 120;
    }
    CourseMap courseMap;
};

struct ResultLine {
    int top;
    Colorref text;
    const char* utf8;
};

const ResultLine ExpectedLines[] = {
    {170, Black, " 所要時間 ：　00:01:15"},
    {194, Black, "ペナルティ：　00:02:00"},
    {221, Red, "スコア時間：　00:03:15"},
};

}  // namespace

TEST_F(ResultScreenTest, DiscontinuedDriveShowsItsPictureAlone) {
    courseMap.goalReached = 0;
    courseMap.DrawResult();
    EXPECT_TRUE(AllPixels(*offscreen, {0, 0, 640, 480}, DiscontinueColour));
}

TEST_F(ResultScreenTest, GoalShowsThreeTimeLinesOnWhiteBoxesWithTheScoreInRed) {
    courseMap.goalReached = 1;
    courseMap.DrawResult();

    for (const ResultLine& line : ExpectedLines) {
        SCOPED_TRACE(line.utf8);
        const Rect box{170, line.top, 640, line.top + 24};
        auto reference = ReferenceText(640, 480, GoalinColour, 170, line.top, 24, line.text, White, line.utf8);
        EXPECT_EQ(DifferingPixels(*offscreen, *reference, box), 0);
        EXPECT_GT(CountPixels(*offscreen, box, line.text), 50);
        EXPECT_EQ(offscreen->PixelAt(169, line.top + 12), GoalinColour);
    }
    // The gap between the second and third line and everything below stay the picture.
    EXPECT_TRUE(AllPixels(*offscreen, {0, 218, 640, 221}, GoalinColour));
    EXPECT_TRUE(AllPixels(*offscreen, {0, 245, 640, 480}, GoalinColour));
    EXPECT_TRUE(AllPixels(*offscreen, {0, 0, 640, 170}, GoalinColour));
}

TEST_F(ResultScreenTest, GoalPictureFollowsTheWindowOrigin) {
    InstallScreen(900, 700, Point{100, 60});
    offscreen->Fill(Untouched);
    courseMap.goalReached = 1;
    courseMap.DrawResult();
    EXPECT_EQ(offscreen->PixelAt(99, 100), Untouched);
    EXPECT_EQ(offscreen->PixelAt(100, 60), GoalinColour);
    EXPECT_EQ(offscreen->PixelAt(739, 539), GoalinColour);
    EXPECT_EQ(offscreen->PixelAt(740, 539), Untouched);
    EXPECT_EQ(offscreen->PixelAt(270, 230 + 12), White);  // the first line's box begins here
    EXPECT_EQ(offscreen->PixelAt(269, 230 + 12), GoalinColour);
}

TEST_F(ResultScreenTest, WithoutADrawingContextOnlyThePictureIsShown) {
    gdiFaults.getDC = true;
    courseMap.goalReached = 1;
    courseMap.DrawResult();
    EXPECT_TRUE(AllPixels(*offscreen, {0, 0, 640, 480}, GoalinColour));
}
