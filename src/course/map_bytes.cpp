#include "course/map_bytes.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t HeaderBytes = 12;

void PutInt32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
}

std::int32_t GetInt32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | bytes[offset + i];
    return static_cast<std::int32_t>(bits);
}

// A stored cell value as the game sees it.
std::int32_t CellValue(std::int32_t stored, std::int32_t version) {
    std::int64_t value = stored;
    if (version == OffsetMapVersion) value -= 64;
    if (value == -1) return 0;
    return static_cast<std::int32_t>(std::max<std::int64_t>(value, INT32_MIN));
}

}  // namespace

std::vector<std::uint8_t> EncodeMapFile(const CourseGrid& grid) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(HeaderBytes + 4 * grid.cells.size());
    PutInt32(bytes, WrittenMapVersion);
    PutInt32(bytes, grid.xCount);
    PutInt32(bytes, grid.yCount);
    for (std::int32_t value : grid.cells) PutInt32(bytes, value);
    return bytes;
}

bool DecodeMapFile(const std::vector<std::uint8_t>& bytes, CourseGrid& grid, int& version,
                   std::vector<std::string>& problems) {
    if (bytes.size() < HeaderBytes) {
        problems.push_back("the file is " + std::to_string(bytes.size()) +
                           " bytes long, too short for a map file (the version and the two counts take 12 bytes)");
        return false;
    }
    version = GetInt32(bytes, 0);
    std::int32_t xCount = GetInt32(bytes, 4);
    std::int32_t yCount = GetInt32(bytes, 8);
    if (version < OffsetMapVersion) {
        problems.push_back("the file has version " + std::to_string(version) +
                           "; the game refuses course files of a version below 2");
    }
    CourseGrid counts;
    counts.xCount = xCount;
    counts.yCount = yCount;
    const std::vector<std::string> countProblems = CountProblems(counts);
    problems.insert(problems.end(), countProblems.begin(), countProblems.end());
    if (!countProblems.empty()) return false;

    std::size_t wanted = static_cast<std::size_t>(xCount) * static_cast<std::size_t>(yCount);
    std::size_t stored = (bytes.size() - HeaderBytes) / 4;
    if (stored < wanted) {
        problems.push_back("the file ends after " + std::to_string(stored) + " of its " + std::to_string(wanted) +
                           " cell values; the game would read the rest as empty ground, or stop on a user map");
    }
    std::size_t extra = bytes.size() - HeaderBytes - 4 * std::min(stored, wanted);
    if (stored >= wanted && extra > 0) {
        problems.push_back(std::to_string(extra) + " bytes follow the last cell; the counts may be wrong");
    }
    grid.Resize(xCount, yCount);
    for (std::size_t i = 0; i < std::min(stored, wanted); ++i) {
        grid.cells[i] = CellValue(GetInt32(bytes, HeaderBytes + 4 * i), version);
    }
    return true;
}

bool LooksLikeMapFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    bool namedMap = lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".map") == 0;
    return namedMap || std::find(bytes.begin(), bytes.end(), 0) != bytes.end();
}
