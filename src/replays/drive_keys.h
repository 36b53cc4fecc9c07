// A recorded drive: what it was driven on, how long it took, and the keys pressed before
// each frame, kept as text lines:
//
//   # any comment
//   course 0                      the course index, 0 to 11
//   bus 0                         the bus type, 0 to 3
//   course-hash 8a3c...           64-bit FNV-1a of the course file's bytes, 16 hex digits
//   map /home/me/my.map           course 11: the map file driven (the rest of the line,
//                                 without blanks at its ends; relative to the key file)
//   driving 7                     the stopwatch's seconds: driving, penalty, score
//   penalty 0
//   score 7
//   1 Up                          a key: the frame (0 places the bus) and the key's name
//
// The header lines come before the keys; each may be left out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct KeyPress {
    long frame;  // counted from the first driving frame, which places the bus
    int key;     // virtual-key code
};

constexpr std::int32_t kNotRecorded = -1;

struct DriveRecord {
    std::int32_t course = kNotRecorded;
    std::int32_t busType = kNotRecorded;
    bool hasCourseHash = false;
    std::uint64_t courseHash = 0;
    std::string mapFile;  // empty when none
    std::int32_t drivingSeconds = kNotRecorded;
    std::int32_t penaltySeconds = kNotRecorded;
    std::int32_t scoreSeconds = kNotRecorded;
    std::vector<KeyPress> presses;
};

// "W", "Up", "Num5", "Enter", "F8": the name a recorded drive uses for a key; empty for a key
// without one.
std::string KeyName(int key);
// The key of a name, or 0.
int KeyFromName(const std::string& name);

// The text of a recorded drive: the comment lines (each given without its "# "), the header
// lines of what the record holds, then one "frame key" line per press in order.
std::string FormatDrive(const std::vector<std::string>& comments, const DriveRecord& drive);
// Reads a recorded drive; false with a message naming the line when one cannot be read, a
// header line comes twice or after the keys, or the frames go backwards.
bool ParseDrive(const std::string& text, DriveRecord& drive, std::string& error);

// 64-bit FNV-1a: the hash a recorded drive keeps of its course file.
std::uint64_t CourseHash(const std::vector<std::uint8_t>& bytes);
// A hash as the 16 lower-case hex digits a recorded drive writes.
std::string HashText(std::uint64_t hash);
// No course file is larger: a map of 20 by 20 cells takes 1612 bytes.
constexpr std::size_t kLargestCourseFile = 1 << 20;
// The hash of a file's bytes as they are stored; false when it cannot be read or is not a
// regular file of at most kLargestCourseFile bytes.
bool HashCourseFile(const std::string& path, std::uint64_t& hash);
// The hash of the user-made course a map line names (course/user_course.h): of its map file
// bytes, which for a course text are those of the map built from it, so that the two share it.
bool HashUserCourseFile(const std::string& path, std::uint64_t& hash);
// The hash a drive of the course keeps: HashUserCourseFile for the user-made course (11),
// HashCourseFile for the others.
bool HashDrivenCourse(int course, const std::string& path, std::uint64_t& hash);
// Whether a map line can name the path: one line, without blanks at either end.
bool FitsAMapLine(const std::string& path);
