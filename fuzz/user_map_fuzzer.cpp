// The user map reader on any bytes, given a full path as the file dialog gives it: it reads
// them, or it ends with status 253 for a short or oversized map; never outside the grid.
#include <cstdint>
#include <string>

#include "course/course_map.h"
#include "fuzz_support.h"

namespace {
constexpr int kUserMapStatus = -3;
std::string userMapPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    userMapPath = FuzzFilePath("chosen map.map");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzInput("chosen map.map", data, size);
    CourseMap map;
    try {
        FuzzExpect(map.LoadUserMap(userMapPath) == 1, "an existing file is read");
        FuzzExpect(map.lastCellX >= -1 && map.lastCellX < GridSize, "lastCellX within the grid");
        FuzzExpect(map.lastCellY >= -1 && map.lastCellY < GridSize, "lastCellY within the grid");
        for (int x = 0; x <= map.lastCellX; ++x) {
            for (int y = 0; y <= map.lastCellY; ++y) {
                FuzzExpect(map.grid[x][y] >= 0, "every negative value is stored as empty");
            }
        }
    } catch (const ProcessExitRequest& exit) {
        FuzzExpect(exit.status == kUserMapStatus, "a damaged user map ends with -3");
    }
    return 0;
}
