// The course file the game reads: signed 32-bit little-endian values, the version, the x and
// y counts, then the cells x-major (cell (x, y) at offset 12 + 4 * (x * ycount + y)).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "course/map_reading.h"
#include "course/map_text.h"

constexpr std::int32_t WrittenMapVersion = 3;  // codes stored as they are

// The bytes of a version 3 map file holding grid's values unchanged.
std::vector<std::uint8_t> EncodeMapFile(const CourseGrid& grid);

// Reads a map file of any version into grid the way the game reads it: a version 2 value
// loses its 64, an empty cell (-1 after that) becomes 0, cells missing at the end read as
// empty. Each flaw of the file itself adds a problem. Returns false when the grid cannot be
// read at all (too short for its counts, or counts outside 1..20).
bool DecodeMapFile(const std::vector<std::uint8_t>& bytes, CourseGrid& grid, int& version,
                   std::vector<std::string>& problems);

// Whether a file looks like a map file rather than a text form: named *.map, or holding a
// zero byte, which no text form has.
bool LooksLikeMapFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
