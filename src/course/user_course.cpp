#include "course/user_course.h"

#include "course/course_map.h"
#include "course/map_bytes.h"
#include "platform/text_file.h"
#include "shared/outside_text.h"

namespace {
void Append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}
}  // namespace

bool ReadUserCourse(const std::string& path, std::vector<std::uint8_t>& mapBytes,
                    std::vector<std::string>& problems, bool* fromText) {
    std::vector<std::uint8_t> bytes;
    const OutsideFile outcome = ReadOutsideFile(path, kLargestUserCourse, bytes);
    if (outcome != OutsideFile::Read) {
        problems.push_back(WhyNotRead(outcome, "course", kLargestUserCourse));
        return false;
    }
    const bool isText = !LooksLikeMapFile(path, bytes);
    if (fromText) *fromText = isText;
    if (!isText && bytes.size() > kLargestMapFile) {
        // The user map reader takes none larger.
        problems.push_back(WhyNotRead(OutsideFile::TooLarge, "map file", kLargestMapFile));
        return false;
    }
    if (!isText) {
        mapBytes = bytes;
        return true;
    }
    CourseGrid grid;
    const std::size_t before = problems.size();
    if (ParseCourseText(std::string(bytes.begin(), bytes.end()), grid, problems)) {
        Append(problems, CountProblems(grid));
        Append(problems, ValueProblems(grid));
    }
    if (problems.size() != before) return false;
    mapBytes = EncodeMapFile(grid);
    return true;
}
