// The 24 course tiles. Every pixel's kind (ground, road, kerb, wall) comes from the wall
// geometry the course rules use, so what the player sees is what the rules judge.
#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "labels.h"
#include "palette.h"
#include "pictures.h"
#include "rules/walls.h"

namespace {

enum class Zone { Ground, Road, WallFace, DeepZone };

constexpr int kLast = kTileSize - 1;
constexpr int kKerbBlock = 8;        // length of one red or white kerb block
constexpr int kCornerSegments = 5;   // kerb blocks around a rounded corner piece
constexpr int kWallJointSpacing = 16;

bool InAnyCorner(int code, int lx, int ly, bool triangles) {
    int corners[4];
    const int count = triangles ? CrashCornerOrder(code, corners) : ContactCornerOrder(code, corners);
    for (int i = 0; i < count; ++i) {
        if (triangles ? InCornerTriangle(corners[i], lx, ly) : InCornerPiece(corners[i], lx, ly)) return true;
    }
    return false;
}

Zone ZoneAt(int code, int lx, int ly) {
    if (code == 0) return Zone::Ground;
    if (InStraightDeepZone(code, lx, ly) || InAnyCorner(code, lx, ly, true)) return Zone::DeepZone;
    if (OnStraightWallFace(code, lx, ly) || InAnyCorner(code, lx, ly, false)) return Zone::WallFace;
    return Zone::Road;
}

// Which corner piece of the code holds the point, or -1.
int CornerPieceAt(int code, int lx, int ly) {
    int corners[4];
    const int count = ContactCornerOrder(code, corners);
    for (int i = 0; i < count; ++i)
        if (InCornerPiece(corners[i], lx, ly)) return corners[i];
    return -1;
}

// Distance of the pixel centre from a tile corner.
double DistanceFromCorner(int corner, int lx, int ly) {
    const double cx = (corner == TopRight || corner == BottomRight) ? kTileSize : 0.0;
    const double cy = (corner == BottomLeft || corner == BottomRight) ? kTileSize : 0.0;
    return std::hypot(lx + 0.5 - cx, ly + 0.5 - cy);
}

// A straight wall as seen from one pixel: how far along the wall and how deep into it.
struct WallSpot {
    int along;
    int depth;   // 0 at the tile edge
};

// The nearest walled side decides where the two walls of a closed corner meet.
WallSpot NearestWall(int code, int lx, int ly) {
    const int open = OpenSides(code);
    WallSpot best{0, kTileSize};
    auto consider = [&](int side, int along, int depth) {
        if (!(open & side) && depth < best.depth) best = WallSpot{along, depth};
    };
    consider(SideNorth, lx, ly);
    consider(SideSouth, lx, kLast - ly);
    consider(SideWest, ly, lx);
    consider(SideEast, ly, kLast - lx);
    return best;
}

Colorref GroundColour(int x, int y) {
    const std::uint32_t speck = PatternValue(x, y, 1) % 100;
    const std::uint32_t patch = PatternValue(x / 8, y / 8, 2) % 3;
    if (speck < 4) return palette::GrassTuft;
    if (speck < 14) return palette::GrassDark;
    if (speck < 22 + 6 * patch) return palette::GrassLight;
    return palette::Grass;
}

Colorref AsphaltColour(int x, int y) {
    const std::uint32_t speck = PatternValue(x, y, 3) % 100;
    if (speck < 7) return palette::AsphaltDark;
    if (speck < 11) return palette::AsphaltLight;
    return palette::Asphalt;
}

// Red and white blocks; the two pixels next to the road are shaded as the kerb's lip.
Colorref KerbColour(bool red, bool lip) {
    if (red) return lip ? palette::KerbRedShade : palette::KerbRed;
    return lip ? palette::KerbWhiteShade : palette::KerbWhite;
}

Colorref WallFaceColour(int code, int lx, int ly) {
    const int corner = CornerPieceAt(code, lx, ly);
    if (corner >= 0) {
        // Blocks around the quarter disc; the end blocks are white so that they meet the
        // red blocks at the ends of the neighbouring tiles' kerbs.
        const double dx = std::abs(lx + 0.5 - ((corner == TopRight || corner == BottomRight) ? kTileSize : 0));
        const double dy = std::abs(ly + 0.5 - ((corner == BottomLeft || corner == BottomRight) ? kTileSize : 0));
        const double angle = std::atan2(dy, dx) / (M_PI / 2);
        int segment = static_cast<int>(angle * kCornerSegments);
        if (segment >= kCornerSegments) segment = kCornerSegments - 1;
        const bool lip = DistanceFromCorner(corner, lx, ly) > RoadBandFirst - 3;
        return KerbColour(segment % 2 == 1, lip);
    }
    const WallSpot spot = NearestWall(code, lx, ly);
    // Blocks centred on the tile so that both tile ends carry half a red block.
    const bool red = ((spot.along + kKerbBlock / 2) / kKerbBlock) % 2 == 0;
    const bool lip = spot.depth >= RoadBandFirst - 2;
    return KerbColour(red, lip);
}

Colorref DeepZoneColour(int code, int lx, int ly) {
    if (CornerPieceAt(code, lx, ly) >= 0 && !InStraightDeepZone(code, lx, ly)) return palette::Wall;
    const WallSpot spot = NearestWall(code, lx, ly);
    if (spot.depth == DeepZoneDepth - 1) return palette::WallTop;
    if (spot.along % kWallJointSpacing == 0) return palette::WallJoint;
    return palette::Wall;
}

void PaintSurface(Surface& tile, int code) {
    for (int ly = 0; ly < kTileSize; ++ly) {
        for (int lx = 0; lx < kTileSize; ++lx) {
            Colorref colour = palette::Grass;
            switch (ZoneAt(code, lx, ly)) {
                case Zone::Ground: colour = GroundColour(lx, ly); break;
                case Zone::Road: colour = AsphaltColour(lx, ly); break;
                case Zone::WallFace: colour = WallFaceColour(code, lx, ly); break;
                case Zone::DeepZone: colour = DeepZoneColour(code, lx, ly); break;
            }
            tile.SetPixel(lx, ly, colour);
        }
    }
}

// ---- Road markings -------------------------------------------------------------------

bool RoadAlongX(int code) {
    return code == 1 || code == 3 || code == 4 || code == 16 || code == 17 || code == 20 || code == 21;
}

bool RoadAlongY(int code) {
    return code == 2 || code == 5 || code == 6 || code == 18 || code == 19 || code == 22 || code == 23;
}

// Where along the tile the lane rule holds, so the centre line shows exactly that stretch.
bool LaneRuleHolds(int code, int along) {
    switch (code) {
        case 3: return along < 77;
        case 4: return along > 50;
        case 5: return along < 77;
        case 6: return along > 50;
        default: return RoadAlongX(code) || RoadAlongY(code);
    }
}

void PaintCentreLine(Surface& tile, int code) {
    for (int along = 0; along < kTileSize; ++along) {
        if (!LaneRuleHolds(code, along)) continue;
        for (int across = LaneSplit - 1; across <= LaneSplit; ++across) {
            if (RoadAlongX(code)) tile.SetPixel(along, across, palette::PaintWhite);
            else tile.SetPixel(across, along, palette::PaintWhite);
        }
    }
}

// A start tile seen from the bus: "ahead" runs from the back of the tile (0) to its front
// edge (127) in the direction the bus faces; "across" is the in-tile coordinate across the road.
struct StartTile {
    int code;
    bool alongX;
    bool facesDecreasing;   // the bus faces -x or -y
    int laneFirst;          // the lane the bus stands in
};

const StartTile kStartTiles[] = {
    {16, true, true, LaneSplit},
    {17, true, false, RoadBandFirst},
    {18, false, true, RoadBandFirst},
    {19, false, false, LaneSplit},
};

// From (ahead, across) in pixel-edge coordinates to the tile's own.
Point TilePoint(const StartTile& start, int ahead, int across) {
    const int along = start.facesDecreasing ? kTileSize - ahead : ahead;
    return start.alongX ? Point{along, across} : Point{across, along};
}

// From (ahead, across) in pixels to the tile's own pixel: pixel-edge coordinates shifted by
// one on a decreasing axis, so that the tiles facing opposite ways mirror pixel for pixel.
Point TilePixel(const StartTile& start, int ahead, int across) {
    const Point p = TilePoint(start, ahead, across);
    const int x = start.alongX && start.facesDecreasing ? p.x - 1 : p.x;
    const int y = !start.alongX && start.facesDecreasing ? p.y - 1 : p.y;
    return Point{x, y};
}

void PaintStartLine(Surface& tile, const StartTile& start) {
    const int square = 6;
    const int first = 110;
    for (int ahead = first; ahead < first + 2 * square; ++ahead) {
        for (int across = RoadBandFirst; across <= RoadBandLast; ++across) {
            const bool light = ((ahead - first) / square + (across - RoadBandFirst) / square) % 2 == 0;
            const Point p = TilePixel(start, ahead, across);
            tile.SetPixel(p.x, p.y, light ? palette::PaintWhite : palette::PaintBlack);
        }
    }
}

// The polygon fill takes the pixels on its outline, so the corners are the arrow's own
// first and last pixels.
void PaintStartArrow(Surface& tile, const StartTile& start) {
    const int centre = start.laneFirst + 18;   // the lane is 36 pixels wide
    const int shaftFrom = 76, headFrom = 92, tip = 103;
    const int shaft = 3, head = 10;
    const int outline[][2] = {{shaftFrom, centre - shaft}, {headFrom, centre - shaft}, {headFrom, centre - head},
                              {tip, centre},                {headFrom, centre + head}, {headFrom, centre + shaft},
                              {shaftFrom, centre + shaft}};
    std::vector<Point> points;
    for (const auto& corner : outline) points.push_back(TilePixel(start, corner[0], corner[1]));
    FillPolygon(tile, points, palette::PaintWhite);
}

// The word stands upright on the screen: across a road along x, top to bottom along y.
void PaintStartWord(Surface& tile, const StartTile& start) {
    TextStyle style;
    style.height = 16;
    style.ink = palette::PaintWhite;
    const int centre = start.laneFirst + 18;
    const int words = 4 * style.height;
    const int ahead = 6;   // the word starts this far from the back of the tile
    const char* word = Labels().start;
    if (start.alongX) {
        const int left = start.facesDecreasing ? kTileSize - ahead - words : ahead;
        DrawTextCentred(tile, left + words / 2, centre - style.height / 2, word, style, words);
    } else {
        const int top = start.facesDecreasing ? kTileSize - ahead - words : ahead;
        DrawTextVertical(tile, centre, top + (words - VerticalLength(word, style)) / 2, word, style, words);
    }
}

void PaintStart(Surface& tile, int code) {
    for (const StartTile& start : kStartTiles) {
        if (start.code != code) continue;
        PaintStartLine(tile, start);
        PaintStartArrow(tile, start);
        PaintStartWord(tile, start);
    }
}

// The goal box: across the road from first to last (inclusive), the whole tile along it.
struct GoalTile {
    int code;
    bool alongX;
    int first;
    int last;
};

const GoalTile kGoalTiles[] = {
    {20, true, 69, 98},
    {21, true, 29, 58},
    {22, false, 29, 58},
    {23, false, 69, 98},
};

void PaintGoal(Surface& tile, int code) {
    for (const GoalTile& goal : kGoalTiles) {
        if (goal.code != code) continue;
        const int width = goal.last - goal.first + 1;
        const Rect box = goal.alongX ? Rect{0, goal.first, kTileSize, goal.last + 1}
                                     : Rect{goal.first, 0, goal.last + 1, kTileSize};
        OutlineRect(tile, box, 2, palette::PaintYellow);
        TextStyle style;
        style.height = 20;
        style.ink = palette::PaintYellow;
        const int centre = goal.first + width / 2;
        const char* word = Labels().goal;
        const int room = kTileSize - 8;
        if (goal.alongX) DrawTextCentred(tile, kTileSize / 2, centre - style.height / 2, word, style, room);
        else DrawTextVertical(tile, centre, kTileSize / 2 - VerticalLength(word, style) / 2, word, style, room);
    }
}

}  // namespace

std::unique_ptr<Surface> DrawTile(int code) {
    std::unique_ptr<Surface> tile = NewPicture(kTileSize, kTileSize, palette::Grass);
    PaintSurface(*tile, code);
    PaintCentreLine(*tile, code);
    PaintStart(*tile, code);
    PaintGoal(*tile, code);
    return tile;
}
