// The course map record: construction and safe reading of a cell.
#include "course/course_map.h"

CourseMap::CourseMap() {
    for (auto& column : grid) {
        for (auto& cell : column) cell = -1;
    }
}

CourseMap::~CourseMap() = default;

std::int32_t CourseMap::CodeAt(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= GridSize || y >= GridSize) return -1;
    const std::int32_t code = grid[x][y];
    // A cell never loaded (-1) or a file value that is no tile code reads as empty ground,
    // so nobody indexes past the 24 tiles.
    if (code < 0 || code >= TileCodeCount) return TileEmpty;
    return code;
}
