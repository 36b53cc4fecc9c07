// The wall geometry of every tile code: open sides, straight walls, corner pieces and the
// corner triangles inside them.
#include "rules/walls.h"

#include <initializer_list>

#include "course/course_map.h"
#include "platform/region.h"

CornerOutline cornerOutline{};

namespace {

constexpr int TileLast = TileSize - 1;  // 127: mirroring maps a coordinate c to 127 - c
constexpr int AllSides = SideNorth | SideSouth | SideWest | SideEast;

// The rounded block of wall in the top-left corner; the other corners mirror it.
constexpr Point TopLeftPiece[CornerPieceVertexCount] = {
    {0, 0},   {27, 0},  {27, 5},  {26, 6},  {26, 9},  {25, 9},  {25, 11}, {24, 12}, {24, 13},
    {23, 14}, {23, 15}, {20, 18}, {20, 19}, {19, 20}, {18, 20}, {15, 23}, {14, 23}, {13, 24},
    {12, 24}, {11, 25}, {9, 25},  {9, 26},  {6, 26},  {5, 27},  {0, 27},
};

constexpr Point Triangles[4][3] = {
    {{0, 0}, {0, 11}, {11, 0}},          // TopLeft
    {{127, 0}, {116, 0}, {127, 11}},     // TopRight
    {{0, 127}, {0, 116}, {11, 127}},     // BottomLeft
    {{127, 127}, {116, 127}, {127, 116}},  // BottomRight
};

bool IsRoadCode(int code) { return code >= 1 && code < TileCodeCount; }

int WalledSides(int code) { return IsRoadCode(code) ? (AllSides & ~OpenSides(code)) : 0; }

bool MirrorsX(int corner) { return corner == TopRight || corner == BottomRight; }
bool MirrorsY(int corner) { return corner == BottomLeft || corner == BottomRight; }

bool IsCorner(int corner) { return corner >= TopLeft && corner <= BottomRight; }

int CopyCorners(std::initializer_list<int> order, int corners[4]) {
    int count = 0;
    for (int corner : order) corners[count++] = corner;
    return count;
}

bool InPolygon(const Point* points, int count, int lx, int ly) {
    return Region::FromPolygon(points, count).Contains(lx, ly);
}

}  // namespace

int OpenSides(int code) {
    switch (code) {
        case 1: case 3: case 4: case 16: case 17: case 20: case 21:
            return SideWest | SideEast;
        case 2: case 5: case 6: case 18: case 19: case 22: case 23:
            return SideNorth | SideSouth;
        case 7: return SideEast | SideSouth;
        case 8: return SideWest | SideSouth;
        case 9: return SideWest | SideNorth;
        case 10: return SideNorth | SideEast;
        case 11: return SideWest | SideEast | SideNorth;
        case 12: return SideNorth | SideSouth | SideEast;
        case 13: return SideWest | SideEast | SideSouth;
        case 14: return SideNorth | SideSouth | SideWest;
        case 15: return AllSides;
        default: return 0;
    }
}

bool OnStraightWallFace(int code, int lx, int ly) {
    const int walls = WalledSides(code);
    return ((walls & SideNorth) && ly < RoadBandFirst) || ((walls & SideSouth) && ly > RoadBandLast) ||
           ((walls & SideWest) && lx < RoadBandFirst) || ((walls & SideEast) && lx > RoadBandLast);
}

bool InStraightDeepZone(int code, int lx, int ly) {
    const int walls = WalledSides(code);
    const int farEdge = TileLast - DeepZoneDepth;  // 116
    return ((walls & SideNorth) && ly < DeepZoneDepth) || ((walls & SideSouth) && ly > farEdge) ||
           ((walls & SideWest) && lx < DeepZoneDepth) || ((walls & SideEast) && lx > farEdge);
}

int ContactCornerOrder(int code, int corners[4]) {
    switch (code) {
        case 7: return CopyCorners({BottomRight}, corners);
        case 8: return CopyCorners({BottomLeft}, corners);
        case 9: return CopyCorners({TopLeft}, corners);
        case 10: return CopyCorners({TopRight}, corners);
        case 11: return CopyCorners({TopRight, TopLeft}, corners);
        case 12: return CopyCorners({TopRight, BottomRight}, corners);
        case 13: return CopyCorners({BottomLeft, BottomRight}, corners);
        case 14: return CopyCorners({BottomLeft, TopLeft}, corners);
        case 15: return CopyCorners({TopLeft, TopRight, BottomLeft, BottomRight}, corners);
        default: return 0;
    }
}

// The crash check walks some junctions in another order than the contact check.
int CrashCornerOrder(int code, int corners[4]) {
    switch (code) {
        case 11: return CopyCorners({TopLeft, TopRight}, corners);
        case 13: return CopyCorners({BottomRight, BottomLeft}, corners);
        case 15: return CopyCorners({TopLeft, BottomLeft, TopRight, BottomRight}, corners);
        default: return ContactCornerOrder(code, corners);
    }
}

void CornerPieceVertices(int corner, Point out[CornerPieceVertexCount]) {
    for (int i = 0; i < CornerPieceVertexCount; ++i) {
        Point p = TopLeftPiece[i];
        if (MirrorsX(corner)) p.x = TileLast - p.x;
        if (MirrorsY(corner)) p.y = TileLast - p.y;
        out[i] = p;
    }
}

void CornerTriangleVertices(int corner, Point out[3]) {
    const int index = IsCorner(corner) ? corner : TopLeft;
    for (int i = 0; i < 3; ++i) out[i] = Triangles[index][i];
}

bool InCornerPiece(int corner, int lx, int ly) {
    Point vertices[CornerPieceVertexCount];
    CornerPieceVertices(corner, vertices);
    return InPolygon(vertices, CornerPieceVertexCount, lx, ly);
}

bool InCornerTriangle(int corner, int lx, int ly) {
    Point vertices[3];
    CornerTriangleVertices(corner, vertices);
    return InPolygon(vertices, 3, lx, ly);
}

void CourseMap::BuildCornerPiece(int corner) {
    for (Point& p : cornerOutline.points) p = Point{0, 0};
    cornerOutline.count = CornerPieceVertexCount;
    CornerPieceVertices(corner, cornerOutline.points);
}
