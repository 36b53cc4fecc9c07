// A course of the player's own named by its file: a map file, or a course text, which the game
// reads as the map file that `quonfel-map build` makes of it. `quonfel --map FILE` plays one
// as the user-made course, and a recorded drive of it names it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// No course text or map file is larger (a 20 by 20 map takes 1612 bytes).
constexpr std::size_t kLargestUserCourse = 1 << 20;

// The map file bytes of the course: a map file's own bytes, or those that build makes of a
// course text. False, with one line per problem, when the file cannot be read, is a map file
// larger than the user map reader takes, or is a text that is no course the game can hold (a
// line that cannot be read, a size outside 1 to 20, a value that is no tile code). fromText,
// when given, tells which of the two the file is.
bool ReadUserCourse(const std::string& path, std::vector<std::uint8_t>& mapBytes,
                    std::vector<std::string>& problems, bool* fromText = nullptr);

// Why the game could not play this course of the player's: a course text it cannot hold, or a
// map file the user map reader would stop on; empty when it can (or when it cannot be read at
// all, which the caller finds out itself).
std::string UserCourseProblem(const std::string& path);
// That reader's end: one line on stderr naming the file and the flaw, then its "Read Error"
// box and exit status.
[[noreturn]] void RejectUserMapFile(const std::string& path, const std::string& flaw);
