// What the course file reader and the user map reader share.
#pragma once
#include <cstdint>

class CourseMap;

// Version 2 files store every tile code plus 64.
constexpr std::int32_t OffsetMapVersion = 2;
constexpr std::int32_t OffsetMapCodeBias = 64;

// The stored value with the version's bias taken off. The subtraction wraps around like the
// 32-bit arithmetic the files were made with, so the lowest values cannot overflow.
inline std::int32_t UnbiasedCell(std::int32_t version, std::int32_t stored) {
    if (version != OffsetMapVersion) return stored;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(stored) -
                                     static_cast<std::uint32_t>(OffsetMapCodeBias));
}

// A count the 20 by 20 grid can hold; anything else marks a damaged file.
bool MapCountFits(std::int32_t count);
// Stores one cell value (already adjusted for the version) and notes a start or goal code.
void StoreMapCell(CourseMap& map, int x, int y, std::int32_t value);
// The end of every successful load: the extent of the map and fresh per-drive fields.
void FinishMapLoad(CourseMap& map, std::int32_t xCount, std::int32_t yCount);
