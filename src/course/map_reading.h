// What the course file reader and the user map reader share.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "course/course_map.h"

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

// Why the reader ends the game at once on this stream (a version below 2 for the course
// reader, counts the grid cannot hold, cells missing for the user map reader); empty when
// it goes on.
std::string MapDamage(const std::vector<std::uint8_t>& stream, MapReader reader);
// Stores one cell value (already adjusted for the version) and notes a start or goal code.
void StoreMapCell(CourseMap& map, int x, int y, std::int32_t value);
// The end of every successful load: the extent of the map and fresh per-drive fields.
void FinishMapLoad(CourseMap& map, std::int32_t xCount, std::int32_t yCount);
