#include "replays/challenge.h"

#include <cstring>
#include <filesystem>

#include "course/map_reading.h"
#include "course/map_text.h"
#include "course/user_course.h"
#include "platform/file_save.h"
#include "platform/printable.h"
#include "platform/text_file.h"
#include "replays/watch.h"
#include "shared/outside_text.h"

namespace {
const char* const kMagicLine = "quonfel-challenge 1";
const char* const kMagic = "quonfel-challenge ";
const char* const kNameWord = "name ";
const char* const kMapWord = "map ";
const char* const kKeysWord = "keys ";
// No header line of a good file is longer; a longer one is junk, read no further.
constexpr std::size_t kLongestLine = 128;
constexpr std::size_t kLengthDigits = 8;

// Reads a challenge's bytes from the front, each step naming what it found wrong.
class ChallengeReader {
public:
    explicit ChallengeReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool Line(std::string& line) {
        line.clear();
        while (at_ < bytes_.size() && bytes_[at_] != '\n' && line.size() <= kLongestLine) line += char(bytes_[at_++]);
        if (at_ >= bytes_.size() || bytes_[at_] != '\n') return false;
        ++at_;
        return true;
    }
    // "map 1612": the length after the word, at most largest.
    bool Length(const std::string& line, const std::string& word, std::size_t largest, std::size_t& length) {
        if (line.rfind(word, 0) != 0) return false;
        const std::string digits = line.substr(word.size());
        // Written without leading zeros, so that a file read is the file written.
        if (digits.empty() || digits.size() > kLengthDigits || digits.find_first_not_of("0123456789") != std::string::npos ||
            (digits.size() > 1 && digits[0] == '0'))
            return false;
        length = std::stoul(digits);
        return length <= largest;
    }
    std::size_t Left() const { return bytes_.size() - at_; }
    std::string Take(std::size_t length) {
        const std::string part(bytes_.begin() + static_cast<long>(at_), bytes_.begin() + static_cast<long>(at_ + length));
        at_ += length;
        return part;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

bool FitsAName(const std::string& name) {
    return !name.empty() && name.size() <= kLargestChallengeName && Printable(name) == name;
}

std::string Short(const std::string& what, std::size_t missing) {
    return "truncated: the " + what + " is " + std::to_string(missing) + " bytes short";
}

// "map 1612" and the bytes it announces.
std::string ReadPart(ChallengeReader& reader, const std::string& word, const std::string& what, std::size_t largest,
                     std::string& part) {
    std::string line;
    std::size_t length = 0;
    if (!reader.Line(line) || !reader.Length(line, word, largest, length))
        return "damaged: no " + what + " length (\"" + word + "N\", N at most " + std::to_string(largest) + ")";
    if (reader.Left() < length) return Short(what, length - reader.Left());
    part = reader.Take(length);
    return "";
}

std::string TakeApart(const std::vector<std::uint8_t>& bytes, Challenge& challenge) {
    ChallengeReader reader(bytes);
    std::string line, map;
    if (!reader.Line(line) || line.rfind(kMagic, 0) != 0) return "not a challenge file";
    if (line != kMagicLine) return "a challenge of another version than this game reads (1)";
    if (!reader.Line(line) || line.rfind(kNameWord, 0) != 0) return "damaged: no name line";
    challenge.name = line.substr(std::string(kNameWord).size());
    if (!FitsAName(challenge.name))
        return "damaged: the name is empty, longer than " + std::to_string(kLargestChallengeName) +
               " bytes or not plain text";
    std::string problem = ReadPart(reader, kMapWord, "map file", kLargestMapFile, map);
    if (problem.empty()) problem = ReadPart(reader, kKeysWord, "key file", kLargestChallengeKeys, challenge.keys);
    if (!problem.empty()) return problem;
    if (reader.Left() > 0) return "damaged: " + std::to_string(reader.Left()) + " bytes after the key file";
    challenge.map.assign(map.begin(), map.end());
    return "";
}

// The drive, read and matched with the map; the problem when it cannot be raced there.
std::string DriveProblem(const std::string& keys, const std::vector<std::uint8_t>& map, DriveRecord& drive) {
    std::string what;
    if (!ParseDrive(keys, drive, what) || MissingHeader(drive, what)) return "the drive cannot be read: " + what;
    if (drive.course != UserMapCourse)
        return "the drive is one of course " + std::to_string(drive.course) + ", not of a course of your own (11)";
    if (drive.courseHash != CourseHash(map)) return "the drive was driven on another course";
    return "";
}
}  // namespace

std::vector<std::uint8_t> FormatChallenge(const Challenge& challenge) {
    const std::string header = std::string(kMagicLine) + "\n" + kNameWord + challenge.name + "\n" + kMapWord +
                               std::to_string(challenge.map.size()) + "\n";
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), challenge.map.begin(), challenge.map.end());
    const std::string keys = kKeysWord + std::to_string(challenge.keys.size()) + "\n" + challenge.keys;
    bytes.insert(bytes.end(), keys.begin(), keys.end());
    return bytes;
}

std::string ReadChallenge(const std::vector<std::uint8_t>& bytes, Challenge& challenge, DriveRecord& drive) {
    challenge = Challenge{};
    const std::string problem = TakeApart(bytes, challenge);
    if (!problem.empty()) return problem;
    // The user map reader reads the file through text mode, as from the shelf.
    const std::string damage = MapDamage(WithoutCrLf(challenge.map), MapReader::UserMap);
    if (!damage.empty()) return "the course " + damage;
    return DriveProblem(challenge.keys, challenge.map, drive);
}

std::string ReadChallengeFile(const std::string& path, Challenge& challenge, DriveRecord& drive) {
    std::vector<std::uint8_t> bytes;
    const OutsideFile found = ReadOutsideFile(path, kLargestChallengeFile, bytes);
    if (found != OutsideFile::Read) return WhyNotRead(found, "challenge file", kLargestChallengeFile);
    return ReadChallenge(bytes, challenge, drive);
}

std::string MakeChallenge(const std::string& coursePath, const std::string& keyPath, Challenge& challenge) {
    std::vector<std::string> problems;
    bool fromText = false;
    if (!ReadUserCourse(coursePath, challenge.map, problems, &fromText))
        return coursePath + ": " + (problems.empty() ? "cannot be read" : problems.front());
    std::vector<std::uint8_t> bytes;
    const OutsideFile found = ReadOutsideFile(keyPath, kLargestChallengeKeys, bytes);
    if (found != OutsideFile::Read) return keyPath + ": " + WhyNotRead(found, "key file", kLargestChallengeKeys);
    DriveRecord drive;
    const std::string problem = DriveProblem(std::string(bytes.begin(), bytes.end()), challenge.map, drive);
    if (!problem.empty()) return keyPath + ": " + problem;
    // A challenge made before into the same record leaves no name behind.
    challenge.name.clear();
    if (fromText) {
        std::vector<std::uint8_t> text;
        ReadOutsideFile(coursePath, kLargestUserCourse, text);
        challenge.name = CourseNameOf(CourseTextHeaderOf({text.begin(), text.end()}));
    }
    if (!FitsAName(challenge.name)) challenge.name = std::filesystem::path(coursePath).stem().string();
    challenge.name = CutAtCharacter(challenge.name, kLargestChallengeName);
    if (!FitsAName(challenge.name)) challenge.name = "course";
    // The map line names the copy a challenge puts beside the drive, never the sender's folders.
    drive.mapFile = ChallengeFileStem(challenge.name) + ".map";
    challenge.keys = FormatDrive({"a drive of " + challenge.name}, drive);
    return "";
}

std::string WriteChallengeFile(const std::string& path, const Challenge& challenge) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)))
        return path + " is a symbolic link; a challenge is not written through one";
    const int failure = SaveWholeFile(path, FormatChallenge(challenge));
    return failure == 0 ? "" : "cannot write " + path + ": " + std::strerror(failure);
}

std::string ChallengeFileStem(const std::string& name) {
    std::string stem = name;
    for (char& c : stem)
        if (c == '/') c = '_';
    if (stem.empty() || stem.front() == '.') stem = "_" + stem;
    return stem;
}
