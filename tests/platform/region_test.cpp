#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/region.h"

namespace {

// The rounded wall block in a tile's top-left corner, a quarter disc of radius 27.
const std::vector<Point> kCornerPiece = {
    {0, 0},   {27, 0},  {27, 5},  {26, 6},  {26, 9},  {25, 9},  {25, 11}, {24, 12}, {24, 13},
    {23, 14}, {23, 15}, {20, 18}, {20, 19}, {19, 20}, {18, 20}, {15, 23}, {14, 23}, {13, 24},
    {12, 24}, {11, 25}, {9, 25},  {9, 26},  {6, 26},  {5, 27},  {0, 27}};

std::vector<Point> Mirrored(std::vector<Point> points, bool flipX, bool flipY) {
    for (Point& p : points) {
        if (flipX) p.x = 127 - p.x;
        if (flipY) p.y = 127 - p.y;
    }
    return points;
}

Region RegionOf(const std::vector<Point>& points) {
    return Region::FromPolygon(points.data(), static_cast<int>(points.size()));
}

}  // namespace

struct PointCase {
    int x, y;
    bool inside;
};

TEST(RegionCornerPiece, QuarterDiscContainsTheWallPixels) {
    const Region piece = RegionOf(kCornerPiece);
    ASSERT_TRUE(piece.IsValid());
    const PointCase cases[] = {
        {10, 10, true}, {19, 19, true}, {20, 20, false}, {30, 30, false}, {5, 5, true},
        {0, 0, true},   {27, 0, true},  {28, 0, false},  {0, 27, true},   {0, 28, false},
        {-1, 3, false}, {3, -1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(piece.Contains(c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(RegionCornerPiece, MirroredPiecesAndTrianglesAgreeWithTheWallGeometry) {
    const Region bottomRight = RegionOf(Mirrored(kCornerPiece, true, true));
    const Region topRight = RegionOf(Mirrored(kCornerPiece, true, false));
    const Region triangleTopLeft = RegionOf({{0, 0}, {0, 11}, {11, 0}});
    const Region triangleBottomRight = RegionOf({{127, 127}, {116, 127}, {127, 116}});

    EXPECT_TRUE(bottomRight.Contains(120, 120));
    EXPECT_FALSE(triangleBottomRight.Contains(120, 120));
    EXPECT_TRUE(bottomRight.Contains(122, 122));
    EXPECT_TRUE(triangleBottomRight.Contains(122, 122));
    EXPECT_FALSE(bottomRight.Contains(120, 64));
    EXPECT_TRUE(topRight.Contains(120, 5));
    EXPECT_FALSE(topRight.Contains(64, 5));
    EXPECT_TRUE(triangleTopLeft.Contains(5, 5));
    EXPECT_FALSE(triangleTopLeft.Contains(6, 6));
}

TEST(RegionRule, OrientationDoesNotMatterAndTooFewPointsGiveAnInvalidRegion) {
    std::vector<Point> reversed(kCornerPiece.rbegin(), kCornerPiece.rend());
    const Region forward = RegionOf(kCornerPiece);
    const Region backward = RegionOf(reversed);
    for (int y = -2; y < 30; ++y)
        for (int x = -2; x < 30; ++x) EXPECT_EQ(forward.Contains(x, y), backward.Contains(x, y)) << x << "," << y;

    const Point two[] = {{0, 0}, {10, 10}};
    EXPECT_FALSE(Region::FromPolygon(two, 2).IsValid());
    EXPECT_FALSE(Region::FromPolygon(two, 2).Contains(0, 0));
    EXPECT_FALSE(Region().Contains(0, 0));
}

TEST(RegionRule, WindingNumberCountsEveryTurnAndItsDirection) {
    // A square walked around twice winds twice; the other way round, minus twice.
    const Point twice[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_EQ(std::abs(WindingNumber(twice, 8, 5, 5)), 2);
    const Point once[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Point onceBack[] = {{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    EXPECT_EQ(WindingNumber(once, 4, 5, 5), -WindingNumber(onceBack, 4, 5, 5));
    EXPECT_EQ(WindingNumber(once, 4, 15, 5), 0);
}
