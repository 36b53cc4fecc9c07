// Goal-in: the whole body stands in the goal box of a goal tile with no rule broken.
#include <algorithm>

#include "bus/bus.h"
#include "course/course_map.h"
#include "rules/cells.h"

namespace {

// Each box lies in the lane that is right for one way of travel, across the whole tile
// along the road.
bool InGoalBox(int code, int lx, int ly) {
    switch (code) {
        case 20: return Within(ly, 69, 98);
        case 21: return Within(ly, 29, 58);
        case 22: return Within(lx, 29, 58);
        case 23: return Within(lx, 69, 98);
        default: return false;
    }
}

}  // namespace

int CourseMap::CheckGoalIn() {
    if (violationCount > 0) return 0;
    // A bus without a body (never placed on any course) stands nowhere.
    if (liveBusState.outlineCount <= 0) return 0;
    const int pointCount = std::min<int>(liveBusState.outlineCount, MaxOutlinePoints);
    for (int i = 0; i < pointCount; ++i) {
        const CellPoint at = SplitPoint(*this, liveBusState.outline[i]);
        // Each point is judged by its own cell; off the course it is on no goal tile.
        if (!OnGrid(*this, at)) return 0;
        if (!InGoalBox(TileCodeAt(*this, at), at.lx, at.ly)) return 0;
    }
    goalReached = 1;
    return 1;
}
