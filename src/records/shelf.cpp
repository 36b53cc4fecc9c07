#include "records/shelf.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "course/map_bytes.h"
#include "course/map_text.h"
#include "course/user_course.h"
#include "platform/file_save.h"
#include "platform/printable.h"
#include "platform/text_file.h"
#include "replays/drive_keys.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"

namespace fs = std::filesystem;

namespace {

// Far more than the lines of thousands of courses.
constexpr std::size_t kLargestTimesFile = 1 << 20;
// Free names tried for a course before giving up: "my.map", "my-2.map" .. "my-999.map".
constexpr int kFreeNames = 999;
// A name longer than a menu row holds is cut here already, so that a line of a megabyte
// costs the screen nothing.
constexpr std::size_t kLongestName = 160;

// The name of the file that a course named fileName gets on its attempt-th try.
std::string NameToTry(const fs::path& fileName, int attempt) {
    if (attempt == 1) return fileName.string();
    return fileName.stem().string() + "-" + std::to_string(attempt) + fileName.extension().string();
}

// A name of its own: without folders, and none that would be hidden or taken for a folder.
fs::path ShelfFileName(const std::string& fileName) {
    const std::string name = fs::path(fileName).filename().string();
    if (name.empty() || name[0] == '.') return "course" + name;
    return name;
}

bool Skipped(const std::string& fileName) {
    return fileName.empty() || fileName[0] == '.' || fileName.find(".tmp-") != std::string::npos;
}

std::vector<fs::path> ShelfFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator entry(ShelfFolder(), error), end; !error && entry != end; entry.increment(error)) {
        std::error_code notRegular;
        if (Skipped(entry->path().filename().string()) || !entry->is_regular_file(notRegular)) continue;
        files.push_back(entry->path());
    }
    return files;
}

std::string SameCourseOnShelf(const std::vector<std::uint8_t>& bytes) {
    for (const fs::path& file : ShelfFiles()) {
        std::vector<std::uint8_t> held;
        if (ReadOutsideFile(file.string(), kLargestUserCourse, held) == OutsideFile::Read && held == bytes)
            return file.string();
    }
    return "";
}

// The course in the file, when the game can play it: its name and hash.
bool ReadShelfCourse(const fs::path& file, ShelfCourse& course) {
    const std::string path = file.string();
    std::vector<std::uint8_t> mapBytes;
    std::vector<std::string> problems;
    if (!ReadUserCourse(path, mapBytes, problems) || !UserCourseProblem(path).empty()) return false;
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(path, kLargestUserCourse, bytes) != OutsideFile::Read) return false;
    course.path = path;
    course.hash = CourseHash(mapBytes);
    const std::string named = LooksLikeMapFile(path, bytes) ? "" : CourseNameOf(CourseTextHeaderOf({bytes.begin(), bytes.end()}));
    course.name = CutAtCharacter(Printable(named.empty() ? file.filename().string() : named), kLongestName);
    return true;
}

ShelfTimes ParseShelfTimes(const std::vector<std::uint8_t>& bytes) {
    ShelfTimes times;
    std::istringstream lines(WithoutSavePadding(std::string(bytes.begin(), bytes.end())));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string hashText;
        long seconds = 0;
        if (!(words >> hashText >> seconds) || hashText.size() != 16 || seconds <= 0 || seconds > INT32_MAX ||
            hashText.find_first_not_of("0123456789abcdef") != std::string::npos)
            continue;
        const std::uint64_t hash = std::stoull(hashText, nullptr, 16);
        const auto known = times.find(hash);
        if (known == times.end() || known->second > seconds) times[hash] = static_cast<std::int32_t>(seconds);
    }
    return times;
}

std::vector<std::uint8_t> TimesFileBytes(const ShelfTimes& times) {
    std::string text = "# Quonfel: the best time of each of your own courses: its course hash, then seconds\n";
    for (const auto& [hash, seconds] : times) text += HashText(hash) + " " + std::to_string(seconds) + "\n";
    return {text.begin(), text.end()};
}

}  // namespace

std::string ShelfFolder() { return InGameFolder(ShelfFolderName); }

std::string PutCourseOnShelf(const std::string& courseBytes, const std::string& fileName, std::string* whyNot) {
    const std::vector<std::uint8_t> bytes(courseBytes.begin(), courseBytes.end());
    const std::string same = SameCourseOnShelf(bytes);
    if (!same.empty()) return same;
    std::error_code error;
    fs::create_directory(ShelfFolder(), error);
    const fs::path name = ShelfFileName(fileName);
    int failure = EEXIST;
    for (int attempt = 1; attempt <= kFreeNames && failure == EEXIST; ++attempt) {
        const std::string path = (fs::path(ShelfFolder()) / NameToTry(name, attempt)).string();
        failure = SaveNewFile(path, bytes);
        if (failure == 0) return path;
    }
    if (whyNot) *whyNot = std::strerror(failure);
    return "";
}

std::vector<ShelfCourse> ListShelf() {
    const ShelfTimes times = ReadShelfTimes();
    std::vector<ShelfCourse> courses;
    for (const fs::path& file : ShelfFiles()) {
        ShelfCourse course;
        if (!ReadShelfCourse(file, course)) continue;
        const auto time = times.find(course.hash);
        if (time != times.end()) course.bestTime = time->second;
        courses.push_back(course);
    }
    std::sort(courses.begin(), courses.end(), [](const ShelfCourse& a, const ShelfCourse& b) {
        return a.name != b.name ? a.name < b.name : a.path < b.path;
    });
    return courses;
}

bool ShelfHoldsACourse() {
    ShelfCourse course;
    for (const fs::path& file : ShelfFiles())
        if (ReadShelfCourse(file, course)) return true;
    return false;
}

ShelfTimes ReadShelfTimes() {
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(InGameFolder(ShelfTimesFileName), kLargestTimesFile, bytes) != OutsideFile::Read) return {};
    return ParseShelfTimes(bytes);
}

bool RecordShelfTime(std::uint64_t hash, std::int32_t seconds) {
    // Under the save's lock another game's times are read again, so that neither loses one.
    bool newBest = true;
    const std::string path = InGameFolder(ShelfTimesFileName);
    const int error = SaveMergedFile(path, kLargestTimesFile, [&](const std::vector<std::uint8_t>* saved, std::vector<std::uint8_t>& bytes) {
        ShelfTimes times = saved ? ParseShelfTimes(*saved) : ShelfTimes{};
        const auto known = times.find(hash);
        newBest = known == times.end() || seconds < known->second;
        if (!newBest) return false;
        times[hash] = seconds;
        bytes = TimesFileBytes(times);
        return true;
    });
    if (error != 0) std::fprintf(stderr, "quonfel: could not save the best times of your courses in %s: %s\n", Printable(path).c_str(), std::strerror(error));
    return newBest;
}

std::string ShelfBestDriveFile(std::uint64_t hash) { return InGameFolder("best-" + HashText(hash) + ".keys"); }
