#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/scaling.h"
#include "platform/surface.h"

TEST(Scaling, AutoTakesTheLargestWindowWithinNinetyPercentOfTheScreen) {
    const struct {
        int width, height, scale;
    } screens[] = {
        {640, 480, 1},     {1280, 1024, 1},  // 1280 is more than 90 % of 1280
        {1423, 1067, 2},   {1422, 1067, 1},  // 2 needs 1280 <= 0.9 * width
        {1920, 1080, 2},   {2560, 1440, 2},  {3840, 2160, 4},
        {7680, 4320, 6},   // never beyond 6
        {320, 200, 1},     // too small for any window: still 1
    };
    for (const auto& s : screens) EXPECT_EQ(AutoScale(s.width, s.height, 640, 480), s.scale) << s.width << "x" << s.height;
}

TEST(Scaling, FullscreenFitsTheWholePictureCentredOnBlack) {
    EXPECT_EQ(FittingScale(1280, 1024, 640, 480), 2);
    EXPECT_EQ(FittingScale(1920, 1080, 640, 480), 2);
    EXPECT_EQ(FittingScale(3840, 2160, 640, 480), 4);
    EXPECT_EQ(FittingScale(7680, 4320, 640, 480), 9);
    EXPECT_EQ(FittingScale(600, 400, 640, 480), 1);

    const PicturePlacement full = CentredPicture(1920, 1080, 640, 480, 2);
    EXPECT_EQ(full.scale, 2);
    EXPECT_EQ(full.x, 320);
    EXPECT_EQ(full.y, 60);
    const PicturePlacement window = CentredPicture(1280, 960, 640, 480, 2);
    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
}

TEST(Scaling, WindowPixelsLeftOfThePictureBelongToNegativeGamePixels) {
    EXPECT_EQ(FloorDivide(5, 2), 2);
    EXPECT_EQ(FloorDivide(4, 2), 2);
    EXPECT_EQ(FloorDivide(0, 3), 0);
    EXPECT_EQ(FloorDivide(-1, 2), -1);
    EXPECT_EQ(FloorDivide(-2, 2), -1);
    EXPECT_EQ(FloorDivide(-3, 2), -2);
    EXPECT_EQ(FloorDivide(7, 1), 7);
}

namespace {
// A source whose every pixel tells its place: x + 100 * y.
std::unique_ptr<Surface> NumberedSurface(int width, int height) {
    auto surface = Surface::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) surface->Pixels()[y * surface->PitchInPixels() + x] = x + 100 * y;
    return surface;
}

std::uint32_t At(const Surface& s, int x, int y) { return s.Pixels()[y * s.PitchInPixels() + x]; }
}  // namespace

TEST(Scaling, EveryPixelBecomesAnEqualSquare) {
    auto source = NumberedSurface(8, 6);
    auto target = Surface::Create(40, 30);
    target->Fill(Rgb(1, 2, 3));
    const std::uint32_t untouched = At(*target, 0, 0);
    // Source pixels (2..5, 1..3) at scale 3 to (5, 4): 12 by 9 target pixels.
    CopyScaled(source->Sdl(), 2, 1, 4, 3, target->Sdl(), 5, 4, 3);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 17 && y >= 4 && y < 13;
            const std::uint32_t want = inside ? static_cast<std::uint32_t>((2 + (x - 5) / 3) + 100 * (1 + (y - 4) / 3)) : untouched;
            ASSERT_EQ(At(*target, x, y), want) << x << "," << y;
        }
    }
}

TEST(Scaling, WhatFallsOutsideEitherSurfaceIsLeftOut) {
    auto source = NumberedSurface(4, 4);
    auto target = Surface::Create(10, 10);
    // Starting left of and above the target: the squares are cut, not shifted.
    CopyScaled(source->Sdl(), 0, 0, 4, 4, target->Sdl(), -3, -1, 4);
    EXPECT_EQ(At(*target, 0, 0), 0u);       // source (0, 0), its last column and three rows
    EXPECT_EQ(At(*target, 1, 0), 1u);       // source (1, 0) starts at target x 1
    EXPECT_EQ(At(*target, 9, 9), 203u);     // source (3, 2) at x 9..12, y 7..10
    EXPECT_EQ(At(*target, 4, 3), 101u);

    // A part reaching past the source keeps to the source and to its own place.
    auto other = Surface::Create(10, 10);
    other->Fill(Rgb(9, 9, 9));
    const std::uint32_t untouched = At(*other, 0, 0);
    CopyScaled(source->Sdl(), -1, 2, 8, 8, other->Sdl(), 0, 0, 2);
    EXPECT_EQ(At(*other, 0, 0), untouched);  // column -1 of the source does not exist
    EXPECT_EQ(At(*other, 2, 0), 200u);       // source (0, 2)
    EXPECT_EQ(At(*other, 9, 3), 303u);       // source (3, 3), the last one
    EXPECT_EQ(At(*other, 2, 4), untouched);  // row 4 of the source does not exist
}

TEST(Scaling, AtScaleOneTheCopyIsExact) {
    auto source = NumberedSurface(20, 10);
    auto target = Surface::Create(20, 10);
    CopyScaled(source->Sdl(), 0, 0, 20, 10, target->Sdl(), 0, 0, 1);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(At(*target, x, y), At(*source, x, y));
}
