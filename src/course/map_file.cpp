// The course files "%d.map" and what both map readers share.
#include <cstdio>
#include <string>
#include <vector>

#include "course/course_map.h"
#include "course/map_reading.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/text_file.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"
#include "shared/texts.h"

namespace {
constexpr int kDamagedCourseStatus = -2;

// The box keeps its one sentence; stderr says which file and what is wrong with it.
[[noreturn]] void RejectDamagedCourse(const std::string& path, const std::string& damage) {
    const std::string file = path.empty() ? "the course given to the game" : Printable(path);
    std::fprintf(stderr, "quonfel: %s %s\n", file.c_str(), damage.c_str());
    MessageBox(Texts().damagedCourseFile, Texts().damagedCourseFileCaption, MB_ICONERROR);
    ExitProcessNow(kDamagedCourseStatus);
}

std::int32_t ReadOr(Int32Reader& reader, std::int32_t missing) {
    std::int32_t value = 0;
    return reader.Read(value) ? value : missing;
}

// Counts the grid cannot hold would make the reader write outside it.
bool MapCountFits(std::int32_t count) { return count >= 0 && count <= GridSize; }

int givenCourse = -1;
std::vector<std::uint8_t> givenStream;

// The stream of a course: the one given for it, else its file's, which path then names.
bool ReadCourseStream(int courseIndex, std::string& path, std::vector<std::uint8_t>& stream) {
    if (courseIndex == givenCourse) {
        path.clear();
        stream = givenStream;
        return true;
    }
    char fileName[256] = {};
    std::snprintf(fileName, sizeof fileName, "%d.map", courseIndex);
    path = InGameFolder(fileName);
    return ReadGameFile("course file", path, kLargestMapFile, stream);
}
}  // namespace

void GiveCourse(int courseIndex, std::vector<std::uint8_t> stream) {
    givenCourse = courseIndex;
    givenStream = std::move(stream);
}

void ForgetGivenCourse() { GiveCourse(-1, {}); }

std::string MapDamage(const std::vector<std::uint8_t>& stream, MapReader reader) {
    Int32Reader values(stream);
    const std::int32_t version = ReadOr(values, 0);
    const std::int32_t xCount = ReadOr(values, 0);
    const std::int32_t yCount = ReadOr(values, 0);
    if (reader == MapReader::Course && version < OffsetMapVersion)
        return "is damaged: version " + std::to_string(version) + ", below 2";
    if (!MapCountFits(xCount) || !MapCountFits(yCount))
        return "is damaged: " + std::to_string(xCount) + " by " + std::to_string(yCount) + " cells, outside 0 to 20";
    const std::size_t cells = static_cast<std::size_t>(xCount) * static_cast<std::size_t>(yCount);
    const std::size_t valuesLeft = stream.size() < 12 ? 0 : (stream.size() - 12) / 4;
    if (reader == MapReader::UserMap && valuesLeft < cells)
        return "is damaged: only " + std::to_string(valuesLeft) + " of its " + std::to_string(cells) + " cells";
    return "";
}

std::string MapFileProblem(const std::string& path, MapReader reader) {
    std::vector<std::uint8_t> stream;
    const OutsideFile found = ReadTextModeFile(path, kLargestMapFile, stream);
    if (found == OutsideFile::NotRegular || found == OutsideFile::TooLarge)
        return "cannot be read: " + WhyNotRead(found, "map file", kLargestMapFile);
    return found == OutsideFile::Read ? MapDamage(stream, reader) : "";
}

void StoreMapCell(CourseMap& map, int x, int y, std::int32_t value) {
    map.grid[x][y] = value;
    if (value >= TileStartLeft && value <= TileStartDown) {
        map.startCellX = x;
        map.startCellY = y;
    }
    if (value >= TileGoalFirst && value <= TileGoalLast) {
        map.goalCellX = x;
        map.goalCellY = y;
    }
}

void FinishMapLoad(CourseMap& map, std::int32_t xCount, std::int32_t yCount) {
    map.violationCount = 0;
    map.goalReached = 0;
    map.lastCellX = xCount - 1;
    map.lastCellY = yCount - 1;
}

// The grid is not cleared first: cells beyond the file's counts keep what they held.
int CourseMap::LoadCourse(int courseIndex) {
    std::string path;
    std::vector<std::uint8_t> stream;
    if (!ReadCourseStream(courseIndex, path, stream)) return 0;

    const std::string damage = MapDamage(stream, MapReader::Course);
    if (!damage.empty()) RejectDamagedCourse(path, damage);
    Int32Reader reader(stream);
    const std::int32_t version = ReadOr(reader, 0);
    const std::int32_t xCount = ReadOr(reader, 0);
    const std::int32_t yCount = ReadOr(reader, 0);

    for (int x = 0; x < xCount; ++x) {
        for (int y = 0; y < yCount; ++y) {
            std::int32_t value = ReadOr(reader, -1);
            value = UnbiasedCell(version, value);
            StoreMapCell(*this, x, y, value == -1 ? TileEmpty : value);
        }
    }
    FinishMapLoad(*this, xCount, yCount);
    mapFileRead = path;
    return 1;
}
