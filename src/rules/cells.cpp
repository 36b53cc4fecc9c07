#include "rules/cells.h"

CellPoint SplitPoint(const CourseMap& map, Point viewPoint) {
    // C++ division truncates toward zero and the remainder keeps the dividend's sign.
    return CellPoint{map.currentCellX + viewPoint.x / TileSize - 2,
                     map.currentCellY + viewPoint.y / TileSize - 2, viewPoint.x % TileSize,
                     viewPoint.y % TileSize};
}

bool OnGrid(const CourseMap& map, const CellPoint& at) {
    return Within(at.cellX, 0, map.lastCellX) && Within(at.cellY, 0, map.lastCellY) &&
           at.cellX < GridSize && at.cellY < GridSize;
}

int TileCodeAt(const CourseMap& map, const CellPoint& at) {
    const int code = map.CodeAt(at.cellX, at.cellY);
    return Within(code, 0, TileCodeCount - 1) ? code : TileEmpty;
}
