#include "maptool/course_route.h"

#include <deque>

#include "rules/walls.h"

namespace {

const SideStep Steps[4] = {{0, -1, "top"}, {0, 1, "bottom"}, {-1, 0, "left"}, {1, 0, "right"}};
const int SideBitOf[4] = {SideNorth, SideSouth, SideWest, SideEast};

int Opposite(int side) { return side ^ 1; }

struct State {
    int x;
    int y;
    int inSide;
};

std::size_t IndexOf(const CourseGrid& grid, const State& state) {
    return (static_cast<std::size_t>(state.x) * grid.yCount + state.y) * 4 + state.inSide;
}

// Carries the route on through the rest of the goal's row of tiles.
void FollowGoalRow(const CourseGrid& grid, std::vector<RouteStep>& route) {
    std::int32_t code = grid.At(route.back().x, route.back().y);
    int side = Opposite(route.back().inSide);
    for (;;) {
        RouteStep& last = route.back();
        int nx = last.x + Steps[side].dx, ny = last.y + Steps[side].dy;
        if (!InGrid(grid, nx, ny) || grid.At(nx, ny) != code) return;
        last.outSide = side;
        route.push_back({nx, ny, Opposite(side), NoSide});
    }
}

}  // namespace

const SideStep& StepOf(int side) { return Steps[side]; }

bool IsStartCode(std::int32_t value) { return value >= 16 && value <= 19; }
bool IsGoalCode(std::int32_t value) { return value >= 20 && value <= 23; }

bool InGrid(const CourseGrid& grid, int x, int y) { return x >= 0 && y >= 0 && x < grid.xCount && y < grid.yCount; }

bool OpensOn(const CourseGrid& grid, int x, int y, int side) {
    std::int32_t value = grid.At(x, y);
    return IsTileCode(value) && (OpenSides(value) & SideBitOf[side]) != 0;
}

bool JoinedOn(const CourseGrid& grid, int x, int y, int side) {
    int nx = x + Steps[side].dx, ny = y + Steps[side].dy;
    return OpensOn(grid, x, y, side) && InGrid(grid, nx, ny) && OpensOn(grid, nx, ny, Opposite(side));
}

int StartSide(std::int32_t startCode) {
    static const int sides[4] = {SideLeft, SideRight, SideTop, SideBottom};
    return sides[startCode - 16];
}

int GoalEntrySide(std::int32_t goalCode) {
    static const int sides[4] = {SideRight, SideLeft, SideBottom, SideTop};
    return sides[goalCode - 20];
}

std::vector<RouteStep> PlanRoute(const CourseGrid& grid, int startX, int startY) {
    std::int32_t startCode = grid.At(startX, startY);
    if (!IsStartCode(startCode)) return {};
    const State none{-1, -1, NoSide};
    std::vector<State> cameFrom(grid.cells.size() * 4, none);
    std::vector<bool> seen(grid.cells.size() * 4, false);
    std::deque<State> open;
    auto enter = [&](const State& from, int side) {
        if (!JoinedOn(grid, from.x, from.y, side)) return;
        State next{from.x + Steps[side].dx, from.y + Steps[side].dy, Opposite(side)};
        std::size_t index = IndexOf(grid, next);
        if (seen[index]) return;
        seen[index] = true;
        cameFrom[index] = from;
        open.push_back(next);
    };
    const State start{startX, startY, NoSide};
    enter(start, StartSide(startCode));
    while (!open.empty()) {
        State state = open.front();
        open.pop_front();
        std::int32_t code = grid.At(state.x, state.y);
        if (IsGoalCode(code) && state.inSide == GoalEntrySide(code)) {
            std::vector<RouteStep> reversed{{state.x, state.y, state.inSide, NoSide}};
            for (State at = cameFrom[IndexOf(grid, state)];; at = cameFrom[IndexOf(grid, at)]) {
                int outSide = Opposite(reversed.back().inSide);
                reversed.push_back({at.x, at.y, at.inSide, outSide});
                if (at.inSide == NoSide) break;
            }
            std::vector<RouteStep> route(reversed.rbegin(), reversed.rend());
            FollowGoalRow(grid, route);
            return route;
        }
        for (int side = 0; side < 4; ++side) {
            if (side != state.inSide) enter(state, side);
        }
    }
    return {};
}
