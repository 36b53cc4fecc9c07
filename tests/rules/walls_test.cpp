#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "course/course_map.h"
#include "rules/walls.h"

namespace {

struct WallRow {
    int code;
    int lx;
    int ly;
    bool face;
    bool deep;
};

TEST(StraightWalls, FaceAndDeepZoneBoundaries) {
    const WallRow rows[] = {
        {1, 64, 27, true, false},   {1, 64, 28, false, false},  {1, 64, 99, false, false},
        {1, 64, 100, true, false},  {1, 64, 10, true, true},    {1, 64, 11, true, false},
        {1, 64, 117, true, true},   {1, 64, 116, true, false},  {1, 0, 64, false, false},
        {1, 127, 64, false, false}, {2, 27, 64, true, false},   {2, 100, 64, true, false},
        {2, 10, 64, true, true},    {2, 117, 64, true, true},   {2, 64, 0, false, false},
        {7, 64, 20, true, false},   {7, 5, 64, true, true},     {7, 120, 64, false, false},
        {7, 64, 120, false, false}, {11, 64, 120, true, true},  {11, 64, 5, false, false},
        {15, 64, 5, false, false},  {15, 5, 5, false, false},   {20, 64, 5, true, true},
        {23, 5, 64, true, true},    {0, 0, 0, false, false},    {-1, 0, 0, false, false},
        {24, 0, 0, false, false},
    };
    for (const WallRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code << " at (" << row.lx << ", " << row.ly << ")");
        EXPECT_EQ(OnStraightWallFace(row.code, row.lx, row.ly), row.face);
        EXPECT_EQ(InStraightDeepZone(row.code, row.lx, row.ly), row.deep);
    }
}

// The one rule behind the table: closed sides carry walls, corners between two open sides
// carry pieces, and both checks test the same pieces.
TEST(WallTable, WallsAndPiecesFollowTheOpenSides) {
    struct Side { int bit; int lx; int ly; };
    const Side sides[] = {{SideNorth, 64, 0}, {SideSouth, 64, 127}, {SideWest, 0, 64}, {SideEast, 127, 64}};
    struct CornerSides { int corner; int first; int second; };
    const CornerSides corners[] = {{TopLeft, SideNorth, SideWest}, {TopRight, SideNorth, SideEast},
                                   {BottomLeft, SideSouth, SideWest}, {BottomRight, SideSouth, SideEast}};
    for (int code = 1; code <= 23; ++code) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const int open = OpenSides(code);
        EXPECT_GE(__builtin_popcount(open), 2);
        for (const Side& side : sides) EXPECT_EQ(OnStraightWallFace(code, side.lx, side.ly), (open & side.bit) == 0);

        std::set<int> expected;
        for (const CornerSides& c : corners)
            if ((open & c.first) && (open & c.second)) expected.insert(c.corner);
        int contact[4] = {-1, -1, -1, -1};
        int crash[4] = {-1, -1, -1, -1};
        const int contactCount = ContactCornerOrder(code, contact);
        const int crashCount = CrashCornerOrder(code, crash);
        EXPECT_EQ(std::set<int>(contact, contact + contactCount), expected);
        EXPECT_EQ(std::set<int>(crash, crash + crashCount), expected);
        EXPECT_EQ(contactCount, static_cast<int>(expected.size()));
        EXPECT_EQ(crashCount, static_cast<int>(expected.size()));
    }
    for (int code : {0, -1, 24, 64}) {
        int corners[4];
        EXPECT_EQ(OpenSides(code), 0);
        EXPECT_EQ(ContactCornerOrder(code, corners), 0);
        EXPECT_EQ(CrashCornerOrder(code, corners), 0);
    }
}

// The set of corners is the same for both checks (above); only the order differs, here.
TEST(WallTable, CrashOrderDiffersFromContactOrderOnTheStatedJunctions) {
    struct OrderRow { int code; std::vector<int> contact; std::vector<int> crash; };
    const OrderRow rows[] = {
        {11, {TopRight, TopLeft}, {TopLeft, TopRight}},
        {13, {BottomLeft, BottomRight}, {BottomRight, BottomLeft}},
        {15, {TopLeft, TopRight, BottomLeft, BottomRight}, {TopLeft, BottomLeft, TopRight, BottomRight}},
    };
    for (const OrderRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "code " << row.code);
        int contact[4];
        int crash[4];
        EXPECT_EQ(std::vector<int>(contact, contact + ContactCornerOrder(row.code, contact)), row.contact);
        EXPECT_EQ(std::vector<int>(crash, crash + CrashCornerOrder(row.code, crash)), row.crash);
    }
}

TEST(CornerPieces, MirroredListsKeepTheVertexOrder) {
    const struct {
        int corner;
        Point first[3];
    } rows[] = {
        {TopLeft, {{0, 0}, {27, 0}, {27, 5}}},
        {TopRight, {{127, 0}, {100, 0}, {100, 5}}},
        {BottomLeft, {{0, 127}, {27, 127}, {27, 122}}},
        {BottomRight, {{127, 127}, {100, 127}, {100, 122}}},
    };
    for (const auto& row : rows) {
        Point vertices[CornerPieceVertexCount];
        CornerPieceVertices(row.corner, vertices);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(vertices[i], row.first[i]) << row.corner << " vertex " << i;
    }
}

TEST(CornerPieces, BuildFillsTheSharedOutline) {
    CourseMap map;
    for (Point& p : cornerOutline.points) p = Point{55, 55};
    cornerOutline.count = 3;
    map.BuildCornerPiece(BottomLeft);
    EXPECT_EQ(cornerOutline.count, 25);
    Point expected[CornerPieceVertexCount];
    CornerPieceVertices(BottomLeft, expected);
    for (int i = 0; i < CornerPieceVertexCount; ++i) EXPECT_EQ(cornerOutline.points[i], expected[i]);
    for (int i = CornerPieceVertexCount; i < CornerOutlineCapacity; ++i)
        EXPECT_EQ(cornerOutline.points[i], (Point{0, 0}));

    // A value that is no corner builds the top-left piece.
    map.BuildCornerPiece(9);
    EXPECT_EQ(cornerOutline.points[1], (Point{27, 0}));
    EXPECT_EQ(cornerOutline.points[24], (Point{0, 27}));
}

struct CornerRow {
    int corner;
    int lx;
    int ly;
    bool inPiece;
    bool inTriangle;
};

// Points exactly on an outline, such as (19, 19) on the piece, (27, 0) at its corner and
// (6, 5) on the triangle's slant, belong to the wall.
TEST(CornerPieces, PointTests) {
    const CornerRow rows[] = {
        {TopLeft, 10, 10, true, false},       {TopLeft, 19, 19, true, false},
        {TopLeft, 20, 20, false, false},      {TopLeft, 30, 30, false, false},
        {TopLeft, 5, 5, true, true},          {TopLeft, 0, 0, true, true},
        {TopLeft, 6, 5, true, true},          {TopLeft, 6, 6, true, false},
        {TopLeft, 27, 0, true, false},        {TopLeft, 28, 0, false, false},
        {TopLeft, 64, 5, false, false},       {BottomRight, 120, 120, true, false},
        {BottomRight, 122, 122, true, true},  {BottomRight, 121, 121, true, false},
        {BottomRight, 120, 122, true, false}, {BottomRight, 104, 111, false, false},
        {BottomRight, 120, 64, false, false}, {TopRight, 127, 0, true, true},
        {TopRight, 127, 10, true, true},      {TopRight, 5, 5, false, false},
        {BottomLeft, 5, 122, true, true},     {BottomLeft, 122, 5, false, false},
    };
    for (const CornerRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "corner " << row.corner << " at (" << row.lx << ", " << row.ly << ")");
        EXPECT_EQ(InCornerPiece(row.corner, row.lx, row.ly), row.inPiece);
        EXPECT_EQ(InCornerTriangle(row.corner, row.lx, row.ly), row.inTriangle);
    }
}

// Every corner is the top-left one mirrored pixel for pixel, so kerbs and walls close up
// across the seams between tiles.
TEST(CornerPieces, EveryCornerIsTheTopLeftOneMirroredPixelForPixel) {
    const struct {
        int corner;
        bool mirrorX;
        bool mirrorY;
    } corners[] = {{TopRight, true, false}, {BottomLeft, false, true}, {BottomRight, true, true}};
    for (const auto& c : corners)
        for (int ly = 0; ly < 128; ++ly)
            for (int lx = 0; lx < 128; ++lx) {
                const int mx = c.mirrorX ? 127 - lx : lx;
                const int my = c.mirrorY ? 127 - ly : ly;
                ASSERT_EQ(InCornerPiece(c.corner, lx, ly), InCornerPiece(TopLeft, mx, my))
                    << c.corner << " " << lx << "," << ly;
                ASSERT_EQ(InCornerTriangle(c.corner, lx, ly), InCornerTriangle(TopLeft, mx, my))
                    << c.corner << " " << lx << "," << ly;
            }
}

// The deep zone of a corner lies wholly inside its piece.
TEST(CornerPieces, EveryTrianglePixelIsAlsoInThePiece) {
    for (int corner = TopLeft; corner <= BottomRight; ++corner)
        for (int ly = 0; ly < 128; ++ly)
            for (int lx = 0; lx < 128; ++lx) {
                if (InCornerTriangle(corner, lx, ly)) {
                    ASSERT_TRUE(InCornerPiece(corner, lx, ly)) << corner << " " << lx << "," << ly;
                }
            }
}

}  // namespace
