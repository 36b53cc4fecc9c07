// The map tool's reader of map files (for printing and checking a player's map) on any
// bytes: it reads them or lists why not, and whatever it reads prints as a text that reads
// back to the same grid.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "maptool/course_check.h"
#include "maptool/map_file.h"
#include "maptool/map_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    CourseGrid grid;
    int version = 0;
    std::vector<std::string> problems;
    if (!DecodeMapFile(bytes, grid, version, problems)) {
        FuzzExpect(!problems.empty(), "a refused file says why");
        return 0;
    }
    FuzzExpect(grid.xCount >= 1 && grid.xCount <= 20 && grid.yCount >= 1 && grid.yCount <= 20,
               "a read map fits the game's grid");
    CheckCourse(grid);

    CourseGrid printed;
    std::vector<std::string> printProblems;
    FuzzExpect(ParseCourseText(FormatCourseText(grid, "fuzz"), printed, printProblems), "printed text reads");
    FuzzExpect(printed.xCount == grid.xCount && printed.yCount == grid.yCount && printed.cells == grid.cells,
               "printed text reads back to the same grid");
    return 0;
}
