#include "replays/drive_keys.h"

#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <cstdio>
#include <sstream>

#include "course/course_map.h"
#include "course/user_course.h"
#include "platform/file_save.h"
#include "platform/messages.h"
#include "platform/text_file.h"

namespace {

struct NamedKey {
    int key;
    const char* name;
};

const NamedKey SpecialKeys[] = {
    {VK_UP, "Up"},       {VK_DOWN, "Down"},   {VK_LEFT, "Left"},   {VK_RIGHT, "Right"},
    {VK_RETURN, "Enter"}, {VK_SPACE, "Space"}, {VK_ESCAPE, "Esc"},
};

constexpr std::int32_t kLargestCourse = 11;
constexpr std::int32_t kLargestBusType = 3;
constexpr std::int32_t kLargestCount = 2147483647;
constexpr std::size_t kHashDigits = 16;
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
// What separates the words of a line, as the stream reads them.
const char* const kBlanks = " \t\v\f\r";

// The header lines, in the order they are written.
const char* const kCourse = "course";
const char* const kBus = "bus";
const char* const kCourseHash = "course-hash";
const char* const kMap = "map";
const char* const kDriving = "driving";
const char* const kPenalty = "penalty";
const char* const kScore = "score";

// Keys that leave the drive or the game: a drive that holds one never reached its end.
bool LeavesTheDrive(int key) { return key == VK_RETURN || key == VK_SPACE || key == VK_ESCAPE; }

// Digits only, from 0 to largest; no sign, no spaces, no overflow.
bool ReadCount(const std::string& word, std::int32_t largest, std::int32_t& value) {
    if (word.empty() || word.size() > 10 || word.find_first_not_of("0123456789") != std::string::npos) return false;
    const long long read = std::stoll(word);
    if (read > largest) return false;
    value = static_cast<std::int32_t>(read);
    return true;
}

bool ReadHash(const std::string& word, std::uint64_t& hash) {
    if (word.size() != kHashDigits || word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    hash = std::stoull(word, nullptr, 16);
    return true;
}

std::string LineError(long lineNumber, const std::string& what) {
    return "line " + std::to_string(lineNumber) + ": " + what;
}

// The reading of one text: where it is, and what it found so far.
class DriveReader {
public:
    explicit DriveReader(DriveRecord& drive) : drive_(drive) {}
    bool Line(long lineNumber, std::string line, std::string& error);

private:
    bool Header(const std::string& name, const std::string& line, std::istringstream& words, std::string& error);
    bool Press(const std::string& frameWord, std::istringstream& words, std::string& error);
    bool Number(const std::string& name, std::istringstream& words, std::int32_t largest, std::int32_t& value,
                std::string& error);
    bool Fail(const std::string& what, std::string& error) {
        error = LineError(lineNumber_, what);
        return false;
    }

    DriveRecord& drive_;
    long lineNumber_ = 0;
    std::vector<std::string> headersSeen_;
};

bool DriveReader::Line(long lineNumber, std::string line, std::string& error) {
    lineNumber_ = lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string first;
    if (!(std::istringstream(line) >> first) || first[0] == '#') return true;
    // A map line keeps the rest of the line, '#' and all; elsewhere '#' starts a comment.
    if (first != kMap) line.erase(std::min(line.find('#'), line.size()));
    std::istringstream words(line);
    words >> first;
    if (first[0] >= '0' && first[0] <= '9') return Press(first, words, error);
    return Header(first, line, words, error);
}

bool DriveReader::Header(const std::string& name, const std::string& line, std::istringstream& words,
                         std::string& error) {
    const char* const names[] = {kCourse, kBus, kCourseHash, kMap, kDriving, kPenalty, kScore};
    bool known = false;
    for (const char* header : names) known = known || name == header;
    if (!known) return Fail("expected a frame number and a key name, or a header line", error);
    if (!drive_.presses.empty()) return Fail("the " + name + " line comes after the keys", error);
    for (const std::string& seen : headersSeen_) {
        if (seen == name) return Fail("a second " + name + " line", error);
    }
    headersSeen_.push_back(name);

    if (name == kMap) {
        const std::size_t afterName = line.find_first_not_of(kBlanks) + std::strlen(kMap);
        const std::size_t start = line.find_first_not_of(kBlanks, afterName);
        if (start == std::string::npos) return Fail("the map line names no file", error);
        drive_.mapFile = line.substr(start, line.find_last_not_of(kBlanks) + 1 - start);
        return true;
    }
    if (name == kCourseHash) {
        std::string word, extra;
        if (!(words >> word) || !ReadHash(word, drive_.courseHash) || (words >> extra))
            return Fail("expected the course hash as 16 hex digits", error);
        drive_.hasCourseHash = true;
        return true;
    }
    if (name == kCourse) return Number(name, words, kLargestCourse, drive_.course, error);
    if (name == kBus) return Number(name, words, kLargestBusType, drive_.busType, error);
    if (name == kDriving) return Number(name, words, kLargestCount, drive_.drivingSeconds, error);
    if (name == kPenalty) return Number(name, words, kLargestCount, drive_.penaltySeconds, error);
    return Number(name, words, kLargestCount, drive_.scoreSeconds, error);
}

bool DriveReader::Number(const std::string& name, std::istringstream& words, std::int32_t largest,
                         std::int32_t& value, std::string& error) {
    std::string word, extra;
    if (!(words >> word) || !ReadCount(word, largest, value) || (words >> extra))
        return Fail("expected " + name + " and a number from 0 to " + std::to_string(largest), error);
    return true;
}

bool DriveReader::Press(const std::string& frameWord, std::istringstream& words, std::string& error) {
    std::int32_t frame = 0;
    std::string name, extra;
    const int key = (words >> name) ? KeyFromName(name) : 0;
    if (!ReadCount(frameWord, kLargestCount, frame) || key == 0 || (words >> extra))
        return Fail("expected a frame number and a key name", error);
    if (LeavesTheDrive(key)) return Fail(name + " leaves the drive; a recorded drive holds no such key", error);
    if (!drive_.presses.empty() && frame < drive_.presses.back().frame) {
        return Fail("frame " + std::to_string(frame) + " comes after frame " +
                        std::to_string(drive_.presses.back().frame),
                    error);
    }
    drive_.presses.push_back({frame, key});
    return true;
}

void AppendNumber(std::string& text, const char* name, std::int32_t value) {
    if (value != kNotRecorded) text += std::string(name) + " " + std::to_string(value) + "\n";
}

}  // namespace

std::string KeyName(int key) {
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return "Num" + std::to_string(key - VK_NUMPAD0);
    if (key >= VK_F1 && key <= VK_F1 + 11) return "F" + std::to_string(key - VK_F1 + 1);
    for (const NamedKey& named : SpecialKeys) {
        if (named.key == key) return named.name;
    }
    return "";
}

int KeyFromName(const std::string& name) {
    for (int key = 1; key < 256; ++key) {
        if (KeyName(key) == name && !name.empty()) return key;
    }
    return 0;
}

std::string FormatDrive(const std::vector<std::string>& comments, const DriveRecord& drive) {
    std::string text;
    for (const std::string& comment : comments) text += "# " + comment + "\n";
    AppendNumber(text, kCourse, drive.course);
    AppendNumber(text, kBus, drive.busType);
    if (drive.hasCourseHash) text += std::string(kCourseHash) + " " + HashText(drive.courseHash) + "\n";
    if (!drive.mapFile.empty()) text += std::string(kMap) + " " + drive.mapFile + "\n";
    AppendNumber(text, kDriving, drive.drivingSeconds);
    AppendNumber(text, kPenalty, drive.penaltySeconds);
    AppendNumber(text, kScore, drive.scoreSeconds);
    for (const KeyPress& press : drive.presses) text += std::to_string(press.frame) + " " + KeyName(press.key) + "\n";
    return text;
}

bool ParseDrive(const std::string& text, DriveRecord& drive, std::string& error) {
    drive = DriveRecord{};
    DriveReader reader(drive);
    std::istringstream lines(WithoutSavePadding(text));
    std::string line;
    long lineNumber = 0;
    while (std::getline(lines, line)) {
        if (!reader.Line(++lineNumber, line, error)) return false;
    }
    return true;
}

std::string HashText(std::uint64_t hash) {
    char text[kHashDigits + 1];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

std::uint64_t CourseHash(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = kFnvOffset;
    for (std::uint8_t byte : bytes) hash = (hash ^ byte) * kFnvPrime;
    return hash;
}

bool HashCourseFile(const std::string& path, std::uint64_t& hash) {
    // Only a regular file can be a course: a device or a pipe named in a key file could be
    // read for ever.
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(path, kLargestCourseFile, bytes) != OutsideFile::Read) return false;
    hash = CourseHash(bytes);
    return true;
}

bool HashUserCourseFile(const std::string& path, std::uint64_t& hash) {
    std::vector<std::uint8_t> mapBytes;
    std::vector<std::string> problems;
    if (!ReadUserCourse(path, mapBytes, problems)) return false;
    hash = CourseHash(mapBytes);
    return true;
}

bool HashDrivenCourse(int course, const std::string& path, std::uint64_t& hash) {
    return course == UserMapCourse ? HashUserCourseFile(path, hash) : HashCourseFile(path, hash);
}

bool FitsAMapLine(const std::string& path) {
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return false;
    return std::strchr(kBlanks, path.front()) == nullptr && std::strchr(kBlanks, path.back()) == nullptr;
}
