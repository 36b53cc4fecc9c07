// Wall contact, which costs penalty time, and the crash that ends a drive.
#include <algorithm>
#include <memory>

#include "bus/bus.h"
#include "course/course_map.h"
#include "platform/draw_context.h"
#include "records/stopwatch.h"
#include "rules/cells.h"
#include "rules/walls.h"
#include "shared/error_log.h"
#include "shared/globals.h"

namespace {

// What a region test on a tile found; NoContext when offscreen gave no drawing context,
// which ends the whole check with 0 for the frame.
enum TileVerdict { Clear, Hit, NoContext };

// The region tests of a tile run while holding a drawing context on offscreen;
// only its failure matters.
std::unique_ptr<DrawContext> TakeOffscreenContext() {
    if (!offscreen) return nullptr;
    auto context = std::make_unique<DrawContext>(*offscreen);
    if (!context->Ok()) return nullptr;
    return context;
}

// A region that cannot be made is logged and contains nothing.
bool RegionContains(const Point* points, int count, int lx, int ly) {
    const Region region = CreatePolygonRgn(points, count);
    if (!region.IsValid()) {
        WriteErrorLog("error_CreatePolygonRgn(Check1).txt", "CreatePolygonRgn = NULL");
        return false;
    }
    return region.Contains(lx, ly);
}

// Number of corner pieces of the code that hold the point, or -1 without a drawing context.
int CornerPieceTouches(CourseMap& map, int code, int lx, int ly) {
    int corners[4];
    const int cornerCount = ContactCornerOrder(code, corners);
    if (cornerCount == 0) return 0;
    const auto context = TakeOffscreenContext();
    if (!context) return -1;
    int touches = 0;
    for (int i = 0; i < cornerCount; ++i) {
        map.BuildCornerPiece(corners[i]);
        if (RegionContains(cornerOutline.points, cornerOutline.count, lx, ly)) ++touches;
    }
    return touches;
}

bool InAnyCornerTriangle(int code, int lx, int ly) {
    int corners[4];
    const int cornerCount = CrashCornerOrder(code, corners);
    for (int i = 0; i < cornerCount; ++i) {
        Point triangle[3];
        CornerTriangleVertices(corners[i], triangle);
        if (RegionContains(triangle, 3, lx, ly)) return true;
    }
    return false;
}

// Deep zones of straight walls, then corner triangles. Code 7 looks at its straight deep
// zones before taking the drawing context; the other tiles with corners take it first, so
// a failing context clears them even when the point is deep in a straight wall.
TileVerdict CrashOnTile(int code, int lx, int ly) {
    int corners[4];
    if (CrashCornerOrder(code, corners) == 0) return InStraightDeepZone(code, lx, ly) ? Hit : Clear;
    if (code == 7 && InStraightDeepZone(code, lx, ly)) return Hit;
    const auto context = TakeOffscreenContext();
    if (!context) return NoContext;
    if (code != 7 && InStraightDeepZone(code, lx, ly)) return Hit;
    return InAnyCornerTriangle(code, lx, ly) ? Hit : Clear;
}

void ShowWallWarning() {
    if (!offscreen || !alarmSurface) return;
    const Rect destination{WindowOrigin.x + 424, WindowOrigin.y + 435, WindowOrigin.x + 603,
                           WindowOrigin.y + 464};
    const Rect source{0, 30, 179, 59};
    offscreen->Blt(&destination, *alarmSurface, &source, false);
}

}  // namespace

int CourseMap::CheckWallContact() {
    if (liveBusState.placed == 0 || currentCellX < 0 || currentCellY < 0) return 0;
    const Point wheels[4] = {liveBusState.rearWheel[0], liveBusState.rearWheel[1],
                             liveBusState.frontWheel[0], liveBusState.frontWheel[1]};
    int touches = 0;
    for (const Point& wheel : wheels) {
        const CellPoint at = SplitPoint(*this, wheel);
        if (!OnGrid(*this, at)) return 1;
        const int code = TileCodeAt(*this, at);
        // A wheel on empty ground clears the whole frame.
        if (code == TileEmpty) return 0;
        // Two straight walls meet in a corner; touching both counts once.
        if (OnStraightWallFace(code, at.lx, at.ly)) ++touches;
        const int pieces = CornerPieceTouches(*this, code, at.lx, at.ly);
        if (pieces < 0) return 0;
        touches += pieces;
    }
    return touches > 0 ? 1 : 0;
}

void CourseMap::ApplyWallRule() {
    ++violationCount;
    if (CheckWallContact() == 0) {
        --violationCount;
        if (violationCount == 0 && stopwatch) stopwatch->StopPenalty();
        return;
    }
    if (stopwatch) stopwatch->StartPenalty();
    ShowWallWarning();
}

int CourseMap::CheckCrash() {
    if (liveBusState.placed == 0 || violationCount > 0 || liveBusState.outlineCount <= 0) return 0;
    const int pointCount = std::min<int>(liveBusState.outlineCount, MaxOutlinePoints);
    for (int i = 0; i < pointCount; ++i) {
        const CellPoint at = SplitPoint(*this, liveBusState.outline[i]);
        if (!OnGrid(*this, at)) return 1;
        const int code = TileCodeAt(*this, at);
        if (code == TileEmpty) return 1;
        const TileVerdict verdict = CrashOnTile(code, at.lx, at.ly);
        if (verdict == Hit) return 1;
        if (verdict == NoContext) return 0;
    }
    return 0;
}
