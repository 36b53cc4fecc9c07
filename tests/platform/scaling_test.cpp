#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>

#include "platform/scaling.h"
#include "platform/surface.h"

TEST(Scaling, ScalesForTheWindowAndForFullscreen) {
    const struct {
        int width, height, autoScale, fitting;
    } screens[] = {
        {640, 480, 1, 1},   {1280, 1024, 1, 2},  // a 1280 window is more than 90 % of 1280
        {1423, 1067, 2, 2}, {1920, 1080, 2, 2},  {3840, 2160, 4, 4},
        {2560, 1600, 3, 3},  // 1440 rows are exactly 90 % of 1600
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
    const struct {
        const char* what;
        int fromX, fromY, width, height, toX, toY, scale;
    } copies[] = {
        {"source pixels (2..5, 1..3) to (5, 4)", 2, 1, 4, 3, 5, 4, 3},
        {"squares left of and above the target are cut, not shifted", 0, 0, 8, 6, -3, -1, 4},
        {"a part reaching past the source keeps to the source", -1, 2, 10, 8, 0, 0, 2},
        {"the last square cut by the target's right edge", 0, 0, 8, 6, 26, 0, 3},
        {"scale 1, cut at the left and top", 1, 0, 7, 6, -2, -3, 1},
    };
    auto source = NumberedSurface(8, 6);
    auto target = Surface::Create(40, 30);
    for (const auto& c : copies) {
        SCOPED_TRACE(c.what);
        target->Fill(Rgb(1, 2, 3));
        const std::uint32_t untouched = At(*target, 0, 0);
        CopyScaled(source->Sdl(), c.fromX, c.fromY, c.width, c.height, target->Sdl(), c.toX, c.toY, c.scale);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const int sx = c.fromX + FloorDivide(x - c.toX, c.scale);
                const int sy = c.fromY + FloorDivide(y - c.toY, c.scale);
                const bool inside = sx >= std::max(c.fromX, 0) && sx < std::min(c.fromX + c.width, 8) &&
                                    sy >= std::max(c.fromY, 0) && sy < std::min(c.fromY + c.height, 6);
                ASSERT_EQ(At(*target, x, y), inside ? static_cast<std::uint32_t>(sx + 100 * sy) : untouched)
                    << x << "," << y;
            }
        }
    }
}
