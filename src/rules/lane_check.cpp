// The lane rule: a rear wheel must not run in the lane on the right of the bus's way.
#include "bus/bus.h"
#include "course/course_map.h"
#include "records/stopwatch.h"
#include "rules/cells.h"
#include "rules/walls.h"
#include "shared/globals.h"

namespace {

enum LaneVerdict { RightLane, WrongLane, NoLaneRule };

constexpr int FirstLaneLast = LaneSplit - 1;  // 63

LaneVerdict VerdictOf(bool wrong) { return wrong ? WrongLane : RightLane; }

// On a road along x, travel towards +x keeps to the smaller y.
bool WrongLaneAlongX(int dx, int ly) {
    return dx > 0 ? Within(ly, LaneSplit, RoadBandLast) : Within(ly, RoadBandFirst, FirstLaneLast);
}

// On a road along y, travel down the screen keeps to the larger x.
bool WrongLaneAlongY(bool downwards, int lx) {
    return downwards ? Within(lx, RoadBandFirst, FirstLaneLast) : Within(lx, LaneSplit, RoadBandLast);
}

// The rule's row for the tile under a rear wheel; (dx, dy) points forward along that side.
// A bus standing square across the road takes the dx <= 0 or dy <= 0 row, except on
// codes 5 and 6, whose rows split at dy < 0.
LaneVerdict LaneVerdictOnTile(int code, int lx, int ly, int dx, int dy) {
    switch (code) {
        case 1: case 16: case 17: case 20: case 21:
            return VerdictOf(WrongLaneAlongX(dx, ly));
        case 3: return VerdictOf(lx < 77 && WrongLaneAlongX(dx, ly));
        case 4: return VerdictOf(lx > 50 && WrongLaneAlongX(dx, ly));
        case 2: case 18: case 19: case 22: case 23:
            return VerdictOf(WrongLaneAlongY(dy > 0, lx));
        case 5: return VerdictOf(ly < 77 && WrongLaneAlongY(dy >= 0, lx));
        case 6: return VerdictOf(ly > 50 && WrongLaneAlongY(dy >= 0, lx));
        default: return NoLaneRule;
    }
}

}  // namespace

int CourseMap::CheckLane() {
    if (liveBusState.placed == 0 || currentCellX < 0 || currentCellY < 0) return 0;
    int wrongWheels = 0;
    for (int side = 0; side < 2; ++side) {
        const Point rear = liveBusState.rearWheel[side];
        const Point front = liveBusState.frontWheel[side];
        const CellPoint at = SplitPoint(*this, rear);
        if (!OnGrid(*this, at)) return 1;
        const LaneVerdict verdict =
            LaneVerdictOnTile(TileCodeAt(*this, at), at.lx, at.ly, front.x - rear.x, front.y - rear.y);
        // A wheel on a junction or off the road clears the whole frame.
        if (verdict == NoLaneRule) return 0;
        if (verdict == WrongLane) ++wrongWheels;
    }
    return wrongWheels > 0 ? 1 : 0;
}

void CourseMap::ApplyLaneRule() {
    violationCount = 1;
    if (CheckLane() == 0) {
        --violationCount;
        return;
    }
    if (stopwatch) stopwatch->StartPenalty();
    if (!offscreen || !alarmSurface) return;
    // The wrong-lane band is one column narrower than its place and is stretched to fit.
    const Rect destination{WindowOrigin.x + 424, WindowOrigin.y + 405, WindowOrigin.x + 604,
                           WindowOrigin.y + 434};
    const Rect source{0, 0, 179, 29};
    offscreen->Blt(&destination, *alarmSurface, &source, false);
}
