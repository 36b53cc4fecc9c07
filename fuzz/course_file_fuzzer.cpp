// The course file reader on any bytes: it reads them, or it refuses a damaged file with
// status 254; it never writes outside the 20 by 20 grid.
#include <cstdint>

#include "course/course_map.h"
#include "fuzz_support.h"

namespace {
constexpr int kCourseIndex = 7;  // read as "7.map"
constexpr int kDamagedCourseStatus = -2;
constexpr int kDefaultCell = 23;

bool CellOnGridOrDefault(int x, int y) {
    if (x == kDefaultCell && y == kDefaultCell) return true;
    return x >= 0 && x < GridSize && y >= 0 && y < GridSize;
}

void CheckLoadedMap(const CourseMap& map) {
    FuzzExpect(map.lastCellX >= -1 && map.lastCellX < GridSize, "lastCellX within the grid");
    FuzzExpect(map.lastCellY >= -1 && map.lastCellY < GridSize, "lastCellY within the grid");
    FuzzExpect(CellOnGridOrDefault(map.startCellX, map.startCellY), "start cell on the grid");
    FuzzExpect(CellOnGridOrDefault(map.goalCellX, map.goalCellY), "goal cell on the grid");
    FuzzExpect(map.violationCount == 0 && map.goalReached == 0, "per-drive fields reset");
    for (int x = -1; x <= GridSize; ++x) {
        for (int y = -1; y <= GridSize; ++y) {
            const std::int32_t code = map.CodeAt(x, y);
            FuzzExpect(code >= -1 && code < TileCodeCount, "every cell reads as a tile code");
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzInput("7.map", data, size);
    CourseMap map;
    try {
        FuzzExpect(map.LoadCourse(kCourseIndex) == 1, "an existing file is read");
        CheckLoadedMap(map);
    } catch (const ProcessExitRequest& exit) {
        FuzzExpect(exit.status == kDamagedCourseStatus, "a damaged course ends with -2");
    }
    return 0;
}
