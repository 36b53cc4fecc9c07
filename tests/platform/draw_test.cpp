#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/draw_context.h"

namespace {

constexpr Colorref kGreen = Rgb(0, 255, 0);
constexpr Colorref kRed = Rgb(255, 0, 0);
constexpr Colorref kBlue = Rgb(0, 0, 255);
constexpr Colorref kBlack = Rgb(0, 0, 0);

// Resets the test switches whatever the test did.
struct FaultsGuard {
    ~FaultsGuard() { gdiFaults = GdiFaults{}; }
};

// The pixels of one row, as a string: '#' where the colour is, '.' elsewhere.
std::string RowPattern(const Surface& s, int y, int from, int to, Colorref colour) {
    std::string out;
    for (int x = from; x < to; ++x) out += s.PixelAt(x, y) == colour ? '#' : '.';
    return out;
}

int CountColour(const Surface& s, Colorref colour) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += s.PixelAt(x, y) == colour;
    return n;
}

void SelectGreen(DrawContext& dc) {
    dc.SelectPen(CreatePen(1, kGreen));
    dc.SelectBrush(CreateSolidBrush(kGreen));
}

}  // namespace

struct CoveredColumns {
    int left, right;
    int firstX, lastX;  // covered columns; firstX > lastX when none
};

// The steering gauge's bar runs from its start towards the centre mark in either direction.
TEST(DrawRectangle, EachAxisCoversFromItsFirstCoordinateUpToTheSecond) {
    const CoveredColumns cases[] = {
        {243, 236, 237, 243},  // reversed: (236, 243]
        {230, 236, 230, 235},  // forward: [230, 236)
        {236, 236, 1, 0},      // empty
        {136, 236, 136, 235},
        {337, 236, 237, 337},
    };
    for (const auto& c : cases) {
        auto s = Surface::Create(640, 480);
        DrawContext dc(*s);
        ASSERT_TRUE(dc.Ok());
        SelectGreen(dc);
        EXPECT_TRUE(dc.Rectangle(c.left, 428, c.right, 448));
        for (int x = 100; x < 400; ++x) {
            const bool inside = x >= c.firstX && x <= c.lastX;
            EXPECT_EQ(s->PixelAt(x, 438) == kGreen, inside) << c.left << "," << c.right << " at x " << x;
        }
        if (c.firstX <= c.lastX) {
            EXPECT_EQ(s->PixelAt(c.firstX, 427), kBlack);
            EXPECT_EQ(s->PixelAt(c.firstX, 428), kGreen);
            EXPECT_EQ(s->PixelAt(c.firstX, 447), kGreen);
            EXPECT_EQ(s->PixelAt(c.firstX, 448), kBlack);
        }
    }
}

TEST(DrawRectangle, ReversedVerticalAxisAndMinimapSquare) {
    auto s = Surface::Create(640, 480);
    DrawContext dc(*s);
    SelectGreen(dc);
    dc.Rectangle(10, 20, 12, 15);  // y in (15, 20]
    EXPECT_EQ(s->PixelAt(10, 15), kBlack);
    EXPECT_EQ(s->PixelAt(10, 16), kGreen);
    EXPECT_EQ(s->PixelAt(11, 20), kGreen);
    EXPECT_EQ(s->PixelAt(11, 21), kBlack);

    // The minimap's start square at cell (0, 0) covers 414..422 and 190..198.
    dc.SelectPen(CreatePen(1, kBlue));
    dc.SelectBrush(CreateSolidBrush(kBlue));
    dc.Rectangle(414, 190, 423, 199);
    EXPECT_EQ(s->PixelAt(414, 190), kBlue);
    EXPECT_EQ(s->PixelAt(422, 198), kBlue);
    EXPECT_EQ(s->PixelAt(423, 198), kBlack);
    EXPECT_EQ(s->PixelAt(422, 199), kBlack);
    EXPECT_EQ(CountColour(*s, kBlue), 81);
}

TEST(DrawRectangle, OutlinesWithThePenAndFillsWithTheBrush) {
    auto s = Surface::Create(8, 8);
    {
        DrawContext dc(*s);
        // Default state: black pen, white brush.
        dc.Rectangle(0, 0, 3, 3);
    }
    EXPECT_EQ(s->PixelAt(1, 1), Rgb(255, 255, 255));
    EXPECT_EQ(s->PixelAt(0, 0), kBlack);

    s->Fill(kBlack);
    DrawContext dc(*s);
    dc.SelectPen(CreatePen(1, kRed));
    dc.SelectBrush(CreateSolidBrush(kBlue));
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(RowPattern(*s, 1, 0, 8, kRed), ".#####..");
    EXPECT_EQ(RowPattern(*s, 2, 0, 8, kRed), ".#...#..");
    EXPECT_EQ(RowPattern(*s, 2, 0, 8, kBlue), "..###...");
    EXPECT_EQ(RowPattern(*s, 4, 0, 8, kRed), ".#####..");
    EXPECT_EQ(RowPattern(*s, 5, 0, 8, kRed), "........");

    s->Fill(kBlack);
    dc.SelectBrush(HollowBrush());
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(RowPattern(*s, 2, 0, 8, kRed), ".#...#..");
    EXPECT_EQ(CountColour(*s, kBlue), 0);
}

TEST(DrawFaults, SwitchesMakeTheNamedCallsFail) {
    FaultsGuard guard;
    auto s = Surface::Create(10, 10);
    gdiFaults.rectangle = true;
    {
        DrawContext dc(*s);
        EXPECT_FALSE(dc.Rectangle(0, 0, 5, 5));
    }
    gdiFaults = GdiFaults{};
    gdiFaults.getDC = true;
    EXPECT_FALSE(DrawContext(*s).Ok());
    gdiFaults = GdiFaults{};
    s->SetLost(true);
    EXPECT_FALSE(DrawContext(*s).Ok());
    s->SetLost(false);

    gdiFaults.createPen = true;
    gdiFaults.createSolidBrush = true;
    gdiFaults.createPolygonRgn = true;
    EXPECT_FALSE(CreatePen(1, kRed).valid);
    EXPECT_FALSE(CreateSolidBrush(kRed).valid);
    const Point triangle[] = {{0, 0}, {5, 0}, {0, 5}};
    EXPECT_FALSE(CreatePolygonRgn(triangle, 3).IsValid());

    // Failed objects draw nothing.
    gdiFaults = GdiFaults{};
    DrawContext dc(*s);
    dc.SelectPen(Pen{1, kRed, false});
    dc.MoveTo(0, 0);
    dc.LineTo(9, 0);
    EXPECT_TRUE(dc.FillRgn(CreatePolygonRgn(triangle, 3), Brush{false, kRed, false}));
    EXPECT_EQ(CountColour(*s, kRed), 0);

    gdiFaults.fillRgn = true;
    EXPECT_FALSE(dc.FillRgn(CreatePolygonRgn(triangle, 3), CreateSolidBrush(kRed)));
    gdiFaults.fillRgn = false;
    EXPECT_FALSE(dc.FillRgn(Region(), CreateSolidBrush(kRed)));
}

TEST(DrawLines, EndPointIsLeftOutAndThePositionMoves) {
    auto s = Surface::Create(12, 12);
    DrawContext dc(*s);
    dc.SelectPen(CreatePen(1, kRed));
    dc.MoveTo(1, 1);
    dc.LineTo(6, 1);
    EXPECT_EQ(RowPattern(*s, 1, 0, 8, kRed), ".#####..");
    dc.LineTo(6, 4);  // continues from (6, 1)
    EXPECT_EQ(s->PixelAt(6, 1), kRed);
    EXPECT_EQ(s->PixelAt(6, 3), kRed);
    EXPECT_EQ(s->PixelAt(6, 4), kBlack);

    s->Fill(kBlack);
    dc.MoveTo(8, 8);
    dc.LineTo(4, 4);  // diagonal backwards
    EXPECT_EQ(CountColour(*s, kRed), 4);
    EXPECT_EQ(s->PixelAt(8, 8), kRed);
    EXPECT_EQ(s->PixelAt(5, 5), kRed);
    EXPECT_EQ(s->PixelAt(4, 4), kBlack);

    s->Fill(kBlack);
    dc.MoveTo(3, 3);
    dc.LineTo(3, 3);  // zero length draws nothing
    EXPECT_EQ(CountColour(*s, kRed), 0);

    // Off-surface lines are clipped, not refused.
    dc.MoveTo(-5, 2);
    dc.LineTo(20, 2);
    EXPECT_EQ(RowPattern(*s, 2, 0, 12, kRed), "############");
}

TEST(DrawLines, WidthTwoPenCoversTheRightAndLowerNeighbour) {
    auto s = Surface::Create(10, 10);
    DrawContext dc(*s);
    dc.SelectPen(CreatePen(2, kRed));
    dc.MoveTo(2, 2);
    dc.LineTo(5, 2);
    EXPECT_EQ(RowPattern(*s, 2, 0, 8, kRed), "..####..");
    EXPECT_EQ(RowPattern(*s, 3, 0, 8, kRed), "..####..");
    EXPECT_EQ(RowPattern(*s, 4, 0, 8, kRed), "........");
}

TEST(DrawPolygon, FillsByWindingAndOutlinesEveryEdgeIncludingTheClosingOne) {
    auto s = Surface::Create(12, 12);
    DrawContext dc(*s);
    dc.SelectPen(CreatePen(1, kRed));
    dc.SelectBrush(CreateSolidBrush(kBlue));
    dc.MoveTo(11, 11);
    const Point square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    EXPECT_TRUE(dc.Polygon(square, 4));
    EXPECT_EQ(RowPattern(*s, 1, 0, 8, kRed), ".######.");
    EXPECT_EQ(RowPattern(*s, 3, 0, 8, kRed), ".#....#.");  // closing edge at x 1
    EXPECT_EQ(RowPattern(*s, 3, 0, 8, kBlue), "..####..");
    EXPECT_EQ(RowPattern(*s, 6, 0, 8, kRed), ".######.");
    // The polygon does not move the current position.
    dc.LineTo(11, 9);
    EXPECT_EQ(s->PixelAt(11, 10), kRed);

    s->Fill(kBlack);
    dc.SelectBrush(HollowBrush());
    dc.Polygon(square, 4);
    EXPECT_EQ(CountColour(*s, kBlue), 0);
    EXPECT_EQ(CountColour(*s, kRed), 20);
}

TEST(DrawPolygon, SelfOverlappingStarIsFilledInItsCentre) {
    // A five-pointed star drawn in one stroke: its centre winds twice around.
    const Point star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    auto s = Surface::Create(100, 100);
    DrawContext dc(*s);
    dc.SelectPen(CreatePen(1, kRed));
    dc.SelectBrush(CreateSolidBrush(kBlue));
    dc.Polygon(star, 5);
    EXPECT_EQ(WindingNumber(star, 5, 50.5, 50.5) != 0, true);
    EXPECT_EQ(s->PixelAt(50, 50), kBlue);
    EXPECT_EQ(s->PixelAt(50, 20), kBlue);   // a point of the star
    EXPECT_EQ(s->PixelAt(5, 80), kBlack);   // outside

    s->Fill(kBlack);
    EXPECT_TRUE(dc.FillRgn(CreatePolygonRgn(star, 5), CreateSolidBrush(kGreen)));
    EXPECT_EQ(s->PixelAt(50, 50), kGreen);
}

// The fill works row by row and tests only some pixels; the result must be exactly the
// pixels the region's own test accepts, on any shape: self-crossing, thin, with edges
// through pixel centres or corners, reaching past the surface.
TEST(DrawRegion, FillRgnPaintsExactlyThePixelsTheRegionContainsClippedToTheSurface) {
    std::vector<std::vector<Point>> shapes = {
        {{-10, -4}, {30, 8}, {12, 40}, {3, 20}},
        {{2, 2}, {12, 2}, {12, 3}, {2, 3}},              // one row high
        {{5, 0}, {6, 0}, {6, 19}, {5, 19}},              // one column wide
        {{0, 0}, {19, 19}, {0, 19}},                     // diagonal through pixel corners
        {{10, 1}, {18, 9}, {10, 17}, {2, 9}},            // diamond
        {{10, 0}, {13, 19}, {1, 7}, {19, 7}, {7, 19}},   // five-pointed star, overlapping
        {{3, 3}, {16, 3}, {3, 16}, {16, 16}},            // bow tie
        {{-5, 10}, {25, 9}, {25, 11}, {-5, 12}},         // wider than the surface
    };
    // Rotated rectangles like a turning bus body, from a fixed sequence.
    unsigned seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(range));
    };
    for (int i = 0; i < 40; ++i) {
        std::vector<Point> shape;
        const int corners = 3 + next(5);
        for (int c = 0; c < corners; ++c) shape.push_back({next(28) - 4, next(28) - 4});
        shapes.push_back(shape);
    }
    for (const auto& shape : shapes) {
        const Region region = CreatePolygonRgn(shape.data(), static_cast<int>(shape.size()));
        ASSERT_TRUE(region.IsValid());
        auto s = Surface::Create(20, 20);
        DrawContext dc(*s);
        EXPECT_TRUE(dc.FillRgn(region, CreateSolidBrush(kGreen)));
        int mismatches = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) mismatches += (s->PixelAt(x, y) == kGreen) != region.Contains(x, y);
        EXPECT_EQ(mismatches, 0) << "shape starting at " << shape[0].x << "," << shape[0].y << " with "
                                 << shape.size() << " corners";
    }
}
