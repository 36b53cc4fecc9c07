// Where the walls of every tile code stand: the one source of the wall geometry, used by
// the contact and crash checks and by the tile pictures.
#pragma once
#include <cstdint>

#include "platform/geometry.h"

enum Corner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

// Sides of a tile where its road leaves it.
enum SideBits { SideNorth = 1, SideSouth = 2, SideWest = 4, SideEast = 8 };

// The road band across a straight road, inclusive, in in-tile pixels.
constexpr int RoadBandFirst = 28;
constexpr int RoadBandLast = 99;
constexpr int LaneSplit = 64;          // first pixel of the second lane
constexpr int DeepZoneDepth = 11;      // a crash needs a body point this close to the edge
constexpr int CornerPieceVertexCount = 25;
constexpr int CornerOutlineCapacity = 30;

// The shared buffer that a corner piece is built into.
struct CornerOutline {
    Point points[CornerOutlineCapacity];
    std::int32_t count;
};
extern CornerOutline cornerOutline;

// Open sides of a code (SideBits); 0 for code 0 and codes outside 0..23.
int OpenSides(int code);
// Whether the in-tile point is on the wall face (contact) or in the deep zone (crash) of a
// straight wall of the code.
bool OnStraightWallFace(int code, int lx, int ly);
bool InStraightDeepZone(int code, int lx, int ly);

// Corner pieces of a code in the order the contact check tests them, and corner triangles
// in the order the crash check tests them. Return the count written into corners (at most 4).
int ContactCornerOrder(int code, int corners[4]);
int CrashCornerOrder(int code, int corners[4]);

// Vertices of a corner piece (25, mirrored from the top-left list) and of a corner triangle (3).
void CornerPieceVertices(int corner, Point out[CornerPieceVertexCount]);
void CornerTriangleVertices(int corner, Point out[3]);

// Point tests by the nonzero winding rule on those polygons.
bool InCornerPiece(int corner, int lx, int ly);
bool InCornerTriangle(int corner, int lx, int ly);
