// The map tool's text form on any text: it is read or refused with problems, the checker
// judges whatever was read, and what is read prints back to the same grid.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "maptool/course_check.h"
#include "maptool/map_file.h"
#include "maptool/map_text.h"

namespace {
bool SameCells(const CourseGrid& a, const CourseGrid& b) {
    return a.xCount == b.xCount && a.yCount == b.yCount && a.cells == b.cells;
}

// The map file keeps every value, except that an empty cell written as -1 reads back as 0.
bool SameAsMapFileReadsIt(const CourseGrid& written, const CourseGrid& read) {
    if (written.xCount != read.xCount || written.yCount != read.yCount) return false;
    for (std::size_t i = 0; i < written.cells.size(); ++i) {
        const std::int32_t expected = written.cells[i] == -1 ? 0 : written.cells[i];
        if (read.cells[i] != expected) return false;
    }
    return true;
}

bool FitsAMapFile(const CourseGrid& grid) {
    return grid.xCount >= 1 && grid.xCount <= 20 && grid.yCount >= 1 && grid.yCount <= 20;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CourseGrid grid;
    std::vector<std::string> problems;
    if (!ParseCourseText(text, grid, problems)) {
        FuzzExpect(!problems.empty(), "a refused text says why");
        return 0;
    }
    FuzzExpect(problems.empty(), "an accepted text has no problems");
    FuzzExpect(grid.cells.size() == static_cast<std::size_t>(grid.xCount) * grid.yCount, "cells fill the grid");
    CheckCourse(grid);

    CourseGrid printed;
    std::vector<std::string> printProblems;
    FuzzExpect(ParseCourseText(FormatCourseText(grid, "fuzz"), printed, printProblems), "printed text reads");
    FuzzExpect(SameCells(grid, printed), "printed text reads back to the same grid");

    if (!FitsAMapFile(grid)) return 0;
    CourseGrid decoded;
    int version = 0;
    std::vector<std::string> decodeProblems;
    FuzzExpect(DecodeMapFile(EncodeMapFile(grid), decoded, version, decodeProblems), "written map reads");
    FuzzExpect(decodeProblems.empty(), "a written map file has no flaws");
    FuzzExpect(SameAsMapFileReadsIt(grid, decoded), "written map reads back to the same grid");
    return 0;
}
