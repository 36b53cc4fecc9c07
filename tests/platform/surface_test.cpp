#include <gtest/gtest.h>
#include <sys/stat.h>

#include <SDL.h>

#include <vector>

#include "platform/surface.h"
#include "support/test_support.h"

namespace {

constexpr Colorref kRed = Rgb(255, 0, 0);
constexpr Colorref kBlue = Rgb(0, 0, 255);
constexpr Colorref kGrey = Rgb(50, 60, 70);

// A one-row surface whose column i has the colour Rgb(i, 100, 200).
std::unique_ptr<Surface> NumberedRow(int width) {
    auto s = Surface::Create(width, 1);
    for (int x = 0; x < width; ++x) s->SetPixel(x, 0, Rgb(x, 100, 200));
    return s;
}

int ColumnNumber(const Surface& s, int x) { return RedOf(s.PixelAt(x, 0)); }

}  // namespace

TEST(SurfaceBasics, NewSurfaceIsBlackAndOutsidePixelsAreIgnored) {
    auto s = Surface::Create(3, 2);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Width(), 3);
    EXPECT_EQ(s->Height(), 2);
    EXPECT_EQ(s->PixelAt(2, 1), 0u);
    s->SetPixel(0, 1, Rgb(1, 2, 3));
    // x == Width() is outside, not the first pixel of the next row.
    s->SetPixel(3, 0, kRed);
    s->SetPixel(-1, 0, kRed);
    EXPECT_EQ(s->PixelAt(3, 0), 0u);
    EXPECT_EQ(s->PixelAt(0, 1), Rgb(1, 2, 3));
    EXPECT_FALSE(Surface::Create(0, 5));
}

struct StretchCase {
    int srcWidth;
    int dstWidth;
    std::vector<int> expectedColumns;  // source column shown at each destination column
};

TEST(SurfaceBlt, StretchesByNearestPixelDeterministically) {
    std::vector<int> oneRepeated = {0};
    for (int i = 0; i < 23; ++i) oneRepeated.push_back(i);
    const StretchCase cases[] = {
        {23, 24, oneRepeated},
        {2, 4, {0, 0, 1, 1}},
        {4, 2, {0, 2}},
        {3, 3, {0, 1, 2}},
    };
    for (const auto& c : cases) {
        auto src = NumberedRow(c.srcWidth);
        auto dst = Surface::Create(c.dstWidth, 1);
        ASSERT_EQ(dst->Blt(nullptr, *src, nullptr, false), kCopyOk);
        for (int x = 0; x < c.dstWidth; ++x)
            EXPECT_EQ(ColumnNumber(*dst, x), c.expectedColumns[x]) << c.srcWidth << "->" << c.dstWidth << " x=" << x;
    }
}

TEST(SurfaceBlt, OneColumnStretchOf179RepeatsExactlyOneColumn) {
    auto src = NumberedRow(179);
    auto dst = Surface::Create(180, 1);
    ASSERT_EQ(dst->Blt(nullptr, *src, nullptr, false), kCopyOk);
    int repeats = 0;
    for (int x = 1; x < 180; ++x) {
        const int step = ColumnNumber(*dst, x) - ColumnNumber(*dst, x - 1);
        EXPECT_TRUE(step == 0 || step == 1);
        repeats += step == 0;
    }
    EXPECT_EQ(repeats, 1);
    EXPECT_EQ(ColumnNumber(*dst, 179), 178);
}

TEST(SurfaceBlt, ColourKeyLeavesDestinationOnlyWhenAsked) {
    auto src = Surface::Create(2, 1);
    src->SetPixel(0, 0, ColourKeyMagenta);
    src->SetPixel(1, 0, kBlue);
    auto dst = Surface::Create(2, 1);

    // Without a key set on the source, even a keyed copy copies magenta.
    dst->Fill(kGrey);
    EXPECT_EQ(dst->Blt(nullptr, *src, nullptr, true), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), ColourKeyMagenta);

    src->SetColourKey(ColourKeyMagenta);
    dst->Fill(kGrey);
    EXPECT_EQ(dst->Blt(nullptr, *src, nullptr, true), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), kGrey);
    EXPECT_EQ(dst->PixelAt(1, 0), kBlue);

    dst->Fill(kGrey);
    EXPECT_EQ(dst->Blt(nullptr, *src, nullptr, false), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), ColourKeyMagenta);

    dst->Fill(kGrey);
    EXPECT_EQ(dst->BltFast(0, 0, *src, Rect{0, 0, 2, 1}, true), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), kGrey);
    EXPECT_EQ(dst->PixelAt(1, 0), kBlue);
}

TEST(SurfaceBlt, ClipsAtDestinationEdgesKeepingTheScale) {
    auto src = NumberedRow(4);
    auto dst = Surface::Create(5, 1);
    dst->Fill(kGrey);
    // Twice as wide, starting three pixels left of the surface: column 0 shows source 1.
    const Rect twice{-3, 0, 5, 1};
    EXPECT_EQ(dst->Blt(&twice, *src, nullptr, false), kCopyOk);
    const int expected[] = {1, 2, 2, 3, 3};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(ColumnNumber(*dst, x), expected[x]) << x;

    // Wholly outside: nothing happens, and it is not an error.
    const Rect away{10, 0, 14, 1};
    EXPECT_EQ(dst->Blt(&away, *src, nullptr, false), kCopyOk);

    // Unstretched copy hanging off the right edge.
    dst->Fill(kGrey);
    EXPECT_EQ(dst->BltFast(3, 0, *src, Rect{0, 0, 4, 1}, false), kCopyOk);
    EXPECT_EQ(dst->PixelAt(2, 0), kGrey);
    EXPECT_EQ(ColumnNumber(*dst, 3), 0);
    EXPECT_EQ(ColumnNumber(*dst, 4), 1);
}

TEST(SurfaceBlt, CopyWithinAClipWritesOnlyThereAndFailsLikeTheWholeCopy) {
    auto src = NumberedRow(8);
    auto dst = Surface::Create(10, 1);
    dst->Fill(kGrey);
    // Source columns 0..7 land on 1..8; only 3..5 lie within the clip.
    EXPECT_EQ(dst->BltFastWithin(Rect{3, 0, 6, 1}, 1, 0, *src, Rect{0, 0, 8, 1}, false), kCopyOk);
    for (int x = 0; x < 10; ++x) {
        if (x >= 3 && x < 6) EXPECT_EQ(ColumnNumber(*dst, x), x - 1) << x;
        else EXPECT_EQ(dst->PixelAt(x, 0), kGrey) << x;
    }
    EXPECT_EQ(dst->BltFastWithin(Rect{0, 0, 1, 1}, 1, 0, *src, Rect{0, 0, 8, 1}, false), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), kGrey);
    // A source rectangle reaching outside its picture fails even where the clip would only
    // need pixels inside it, and so does a lost surface.
    EXPECT_EQ(dst->BltFastWithin(Rect{0, 0, 2, 1}, 0, 0, *src, Rect{0, 0, 9, 1}, false), kErrInvalidRect);
    src->SetLost(true);
    EXPECT_EQ(dst->BltFastWithin(Rect{0, 0, 2, 1}, 0, 0, *src, Rect{0, 0, 8, 1}, false), kErrSurfaceLost);
    EXPECT_EQ(dst->PixelAt(0, 0), kGrey);
}

// Keyed copies read an encoded form of the picture made at the first one; whatever changes
// the picture or its key afterwards must show in the next copy.
TEST(SurfaceBlt, KeyedCopiesFollowEveryChangeOfThePictureAndItsKey) {
    auto src = Surface::Create(3, 1);
    src->Fill(kRed);
    src->SetPixel(1, 0, ColourKeyMagenta);
    src->SetColourKey(ColourKeyMagenta);
    auto dst = Surface::Create(3, 1);
    const auto copy = [&] {
        dst->Fill(kGrey);
        EXPECT_EQ(dst->BltFast(0, 0, *src, Rect{0, 0, 3, 1}, true), kCopyOk);
        return std::vector<Colorref>{dst->PixelAt(0, 0), dst->PixelAt(1, 0), dst->PixelAt(2, 0)};
    };
    EXPECT_EQ(copy(), (std::vector<Colorref>{kRed, kGrey, kRed}));
    src->SetPixel(0, 0, ColourKeyMagenta);
    EXPECT_EQ(copy(), (std::vector<Colorref>{kGrey, kGrey, kRed}));
    src->Pixels()[2] = 0x0000FF;  // written directly: blue
    EXPECT_EQ(copy(), (std::vector<Colorref>{kGrey, kGrey, kBlue}));
    src->SetColourKey(kBlue);
    EXPECT_EQ(copy(), (std::vector<Colorref>{ColourKeyMagenta, ColourKeyMagenta, kGrey}));
    auto other = Surface::Create(3, 1);
    other->Fill(kRed);
    EXPECT_EQ(src->BltFast(0, 0, *other, Rect{0, 0, 1, 1}, false), kCopyOk);  // src as a target
    EXPECT_EQ(copy(), (std::vector<Colorref>{kRed, ColourKeyMagenta, kGrey}));
}

// Four pixels at a time and one by one alike: each channel the average rounded up, the key and
// what lies outside the clip left alone.
TEST(SurfaceBlt, SeeThroughCopyMixesHalfAndHalfExceptTheKey) {
    auto under = Surface::Create(8, 2);
    auto over = Surface::Create(6, 1);
    under->Fill(Rgb(100, 0, 201));
    over->Fill(Rgb(0, 255, 0));
    over->SetColourKey(ColourKeyMagenta);
    over->SetPixel(3, 0, ColourKeyMagenta);
    under->MixFastWithin({0, 0, 7, 2}, 2, 1, *over, {0, 0, 6, 1});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool mixed = y == 1 && x >= 2 && x < 7 && x != 5;
            EXPECT_EQ(under->PixelAt(x, y), mixed ? Rgb(50, 128, 101) : Rgb(100, 0, 201)) << x << "," << y;
        }
}

TEST(SurfaceBlt, RejectsSourceRectanglesOutsideTheSourceAndEmptyOnes) {
    auto src = Surface::Create(10, 10);
    src->Fill(kRed);
    auto dst = Surface::Create(10, 10);
    const Rect bad[] = {{-1, 0, 5, 5}, {0, 0, 11, 5}, {0, 5, 5, 11}, {5, 0, 5, 5}, {6, 0, 5, 5}};
    for (const Rect& r : bad) {
        EXPECT_EQ(dst->Blt(nullptr, *src, &r, false), kErrInvalidRect);
        EXPECT_EQ(dst->BltFast(0, 0, *src, r, false), kErrInvalidRect);
    }
    const Rect emptyDst{3, 3, 3, 8};
    EXPECT_EQ(dst->Blt(&emptyDst, *src, nullptr, false), kErrInvalidRect);
    EXPECT_EQ(dst->PixelAt(0, 0), 0u);
}

TEST(SurfaceBlt, LostSurfaceFailsOnEitherSide) {
    auto a = Surface::Create(4, 4);
    auto b = Surface::Create(4, 4);
    b->Fill(kRed);
    a->SetLost(true);
    EXPECT_EQ(a->Blt(nullptr, *b, nullptr, false), kErrSurfaceLost);
    EXPECT_EQ(b->Blt(nullptr, *a, nullptr, false), kErrSurfaceLost);
    EXPECT_EQ(b->BltFast(0, 0, *a, Rect{0, 0, 4, 4}, false), kErrSurfaceLost);
    a->SetLost(false);
    EXPECT_EQ(a->Blt(nullptr, *b, nullptr, false), kCopyOk);
    EXPECT_EQ(a->PixelAt(3, 3), kRed);
}

TEST(SurfaceBlt, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
    // Down and right by one: rows copied top to bottom would read rows already written.
    auto s = Surface::Create(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) s->SetPixel(x, y, Rgb(x, y, 200));
    EXPECT_EQ(s->BltFast(1, 1, *s, Rect{0, 0, 5, 5}, false), kCopyOk);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const int shift = x > 0 && y > 0 ? 1 : 0;
            EXPECT_EQ(s->PixelAt(x, y), Rgb(x - shift, y - shift, 200)) << x << "," << y;
        }
}

TEST(SurfaceFiles, SavesTwentyFourBitBmpThatLoadsBackExactly) {
    ScopedWorkDir dir;
    auto s = Surface::Create(3, 2);
    s->SetPixel(0, 0, kRed);
    s->SetPixel(2, 1, ColourKeyMagenta);
    s->SetPixel(1, 0, Rgb(1, 2, 3));
    ASSERT_TRUE(s->SaveBmp("picture.bmp"));

    const auto bytes = ReadBytes("picture.bmp");
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[28], 24);  // bits per pixel

    auto loaded = Surface::LoadBmp("picture.bmp");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->Width(), 3);
    ASSERT_EQ(loaded->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(loaded->PixelAt(x, y), s->PixelAt(x, y)) << x << "," << y;
}

TEST(SurfaceFiles, PalettedBitmapKeepsExactMagentaForTheColourKey) {
    ScopedWorkDir dir;
    // A paletted picture whose palette has no exact magenta but a near one, and one that has it.
    SDL_Surface* indexed = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 8, SDL_PIXELFORMAT_INDEX8);
    ASSERT_TRUE(indexed);
    SDL_Color colours[3] = {{250, 0, 250, 255}, {255, 0, 255, 255}, {0, 0, 255, 255}};
    SDL_SetPaletteColors(indexed->format->palette, colours, 0, 3);
    static_cast<Uint8*>(indexed->pixels)[0] = 0;
    static_cast<Uint8*>(indexed->pixels)[1] = 1;
    ASSERT_EQ(SDL_SaveBMP(indexed, "paletted.bmp"), 0);
    SDL_FreeSurface(indexed);

    auto loaded = Surface::LoadBmp("paletted.bmp");
    ASSERT_TRUE(loaded);
    loaded->SetColourKey(ColourKeyMagenta);
    auto dst = Surface::Create(2, 1);
    dst->Fill(kGrey);
    EXPECT_EQ(dst->Blt(nullptr, *loaded, nullptr, true), kCopyOk);
    EXPECT_EQ(dst->PixelAt(0, 0), Rgb(250, 0, 250));
    EXPECT_EQ(dst->PixelAt(1, 0), kGrey);
}

TEST(SurfaceFiles, MissingOrDamagedFileGivesNoSurface) {
    ScopedWorkDir dir;
    EXPECT_FALSE(Surface::LoadBmp("absent.bmp"));
    WriteBytes("broken.bmp", {'B', 'M', 1, 2, 3});
    EXPECT_FALSE(Surface::LoadBmp("broken.bmp"));
    mkfifo("pipe.bmp", 0644);  // fails at once, never waits for a writer
    EXPECT_FALSE(Surface::LoadBmp("pipe.bmp"));
}
