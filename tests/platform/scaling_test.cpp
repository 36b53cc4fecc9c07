#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/scaling.h"
#include "platform/surface.h"

TEST(Scaling, ScalesForTheWindowAndForFullscreen) {
    const struct {
        int width, height, autoScale, fitting;
    } screens[] = {
        {640, 480, 1, 1},   {1280, 1024, 1, 2},  // a 1280 window is more than 90 % of 1280
        {1423, 1067, 2, 2}, {1920, 1080, 2, 2},  {3840, 2160, 4, 4},
        {7680, 4320, 6, 9},  // the window never beyond 6; fullscreen takes what fits
        {320, 200, 1, 1},
    };
    for (const auto& s : screens) {
        EXPECT_EQ(AutoScale(s.width, s.height, 640, 480), s.autoScale) << s.width << "x" << s.height;
        EXPECT_EQ(FittingScale(s.width, s.height, 640, 480), s.fitting) << s.width << "x" << s.height;
    }
    const PicturePlacement full = CentredPicture(1920, 1080, 640, 480, 2);
    EXPECT_EQ(full.x, 320);
    EXPECT_EQ(full.y, 60);
    // Window pixels left of or above the picture belong to game pixels below 0.
    EXPECT_EQ(FloorDivide(5, 2), 2);
    EXPECT_EQ(FloorDivide(-1, 2), -1);
    EXPECT_EQ(FloorDivide(-2, 2), -1);
    EXPECT_EQ(FloorDivide(-3, 2), -2);
}

namespace {
// Every pixel tells its place: x + 100 * y.
std::unique_ptr<Surface> NumberedSurface(int width, int height) {
    auto surface = Surface::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) surface->Pixels()[y * surface->PitchInPixels() + x] = x + 100 * y;
    return surface;
}

std::uint32_t At(const Surface& s, int x, int y) { return s.Pixels()[y * s.PitchInPixels() + x]; }
}  // namespace

TEST(Scaling, EveryPixelBecomesAnEqualSquareCutToBothSurfaces) {
    auto source = NumberedSurface(8, 6);
    auto target = Surface::Create(40, 30);
    target->Fill(Rgb(1, 2, 3));
    const std::uint32_t untouched = At(*target, 0, 0);
    // Source pixels (2..5, 1..3) at scale 3 to (5, 4): 12 by 9 target pixels.
    CopyScaled(source->Sdl(), 2, 1, 4, 3, target->Sdl(), 5, 4, 3);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 17 && y >= 4 && y < 13;
            const auto want = inside ? static_cast<std::uint32_t>(2 + (x - 5) / 3 + 100 * (1 + (y - 4) / 3)) : untouched;
            ASSERT_EQ(At(*target, x, y), want) << x << "," << y;
        }
    }

    // Left of and above the target the squares are cut, not shifted; a part reaching past
    // the source keeps to the source.
    auto small = NumberedSurface(4, 4);
    auto cut = Surface::Create(10, 10);
    CopyScaled(small->Sdl(), 0, 0, 4, 4, cut->Sdl(), -3, -1, 4);
    EXPECT_EQ(At(*cut, 0, 0), 0u);
    EXPECT_EQ(At(*cut, 1, 0), 1u);
    EXPECT_EQ(At(*cut, 9, 9), 203u);
    cut->Fill(Rgb(1, 2, 3));
    CopyScaled(small->Sdl(), -1, 2, 8, 8, cut->Sdl(), 0, 0, 2);
    EXPECT_EQ(At(*cut, 0, 0), untouched);  // source column -1 does not exist
    EXPECT_EQ(At(*cut, 2, 0), 200u);
    EXPECT_EQ(At(*cut, 9, 3), 303u);
    EXPECT_EQ(At(*cut, 2, 4), untouched);  // nor does source row 4
}
