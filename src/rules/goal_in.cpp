// Goal-in: the whole body stands in the goal box of a goal tile with no rule broken.
#include <algorithm>

#include "bus/bus.h"
#include "course/course_map.h"
#include "rules/cells.h"

namespace {

// The box of a goal tile across its road: along y for roads along x, along x for roads
// along y. Each box lies in the lane that is right for one way of travel, across the whole
// tile along the road.
struct GoalBox {
    bool acrossY;
    int first;
    int last;
};

bool IsGoalTile(int code) { return code >= TileGoalFirst && code <= TileGoalLast; }

GoalBox BoxOf(int code) {
    switch (code) {
        case 20: return {true, 69, 98};
        case 21: return {true, 29, 58};
        case 22: return {false, 29, 58};
        default: return {false, 69, 98};
    }
}

int Across(const GoalBox& box, const CellPoint& at) { return box.acrossY ? at.ly : at.lx; }

bool InGoalBox(int code, const CellPoint& at) {
    if (!IsGoalTile(code)) return false;
    const GoalBox box = BoxOf(code);
    return Within(Across(box, at), box.first, box.last);
}

int OutlinePointCount() { return std::min<int>(liveBusState.outlineCount, MaxOutlinePoints); }

// The first outline point, in index order, that the goal check finds outside a goal box;
// false when every point is inside.
bool FirstPointOutside(const CourseMap& map, CellPoint& outside) {
    for (int i = 0; i < OutlinePointCount(); ++i) {
        const CellPoint at = SplitPoint(map, liveBusState.outline[i]);
        // Each point is judged by its own cell; off the course it is on no goal tile.
        if (!OnGrid(map, at) || !InGoalBox(TileCodeAt(map, at), at)) {
            outside = at;
            return true;
        }
    }
    return false;
}

// The goal tile some point of the body stands on; false when none does.
bool GoalTileUnderBody(const CourseMap& map, CellPoint& onGoal) {
    for (int i = 0; i < OutlinePointCount(); ++i) {
        onGoal = SplitPoint(map, liveBusState.outline[i]);
        if (OnGrid(map, onGoal) && IsGoalTile(TileCodeAt(map, onGoal))) return true;
    }
    return false;
}

// True when no point on a goal tile lies within its box across the road: the body stands
// beside the box, in the other lane or on the verge.
bool BesideTheBox(const CourseMap& map) {
    for (int i = 0; i < OutlinePointCount(); ++i) {
        const CellPoint at = SplitPoint(map, liveBusState.outline[i]);
        if (OnGrid(map, at) && InGoalBox(TileCodeAt(map, at), at)) return false;
    }
    return true;
}

// The side of the box a point outside it lies beyond: across the road on its own goal tile,
// else the way its cell lies from a goal tile under the body.
GoalMiss SideOfBox(const CourseMap& map, const CellPoint& outside, const CellPoint& onGoal) {
    const int code = OnGrid(map, outside) ? TileCodeAt(map, outside) : 0;
    if (IsGoalTile(code)) {
        const GoalBox box = BoxOf(code);
        const bool before = Across(box, outside) < box.first;
        if (box.acrossY) return before ? GoalMiss::Top : GoalMiss::Bottom;
        return before ? GoalMiss::Left : GoalMiss::Right;
    }
    if (outside.cellX != onGoal.cellX) return outside.cellX < onGoal.cellX ? GoalMiss::Left : GoalMiss::Right;
    return outside.cellY < onGoal.cellY ? GoalMiss::Top : GoalMiss::Bottom;
}

}  // namespace

int CourseMap::CheckGoalIn() {
    if (violationCount > 0) return 0;
    // A bus without a body (never placed on any course) stands nowhere.
    if (liveBusState.outlineCount <= 0) return 0;
    CellPoint outside{};
    if (FirstPointOutside(*this, outside)) return 0;
    goalReached = 1;
    return 1;
}

GoalMiss CourseMap::MissedGoal() {
    CellPoint onGoal{}, outside{};
    if (liveBusState.outlineCount <= 0 || !GoalTileUnderBody(*this, onGoal)) return GoalMiss::NotOnGoalTile;
    if (CheckLane() != 0 || BesideTheBox(*this)) return GoalMiss::WrongLane;
    if (!FirstPointOutside(*this, outside)) return GoalMiss::None;
    return SideOfBox(*this, outside, onGoal);
}
