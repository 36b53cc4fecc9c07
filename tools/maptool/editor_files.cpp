#include "maptool/editor_files.h"

#include <cstring>
#include <filesystem>

#include "course/user_course.h"
#include "maptool/map_file.h"
#include "platform/file_save.h"
#include "platform/text_file.h"
#include "shared/outside_text.h"

namespace fs = std::filesystem;

namespace {
constexpr int NewCourseColumns = 10;
constexpr int NewCourseRows = 8;

std::string Beside(const std::string& path, const char* ending) {
    return fs::path(path).replace_extension(ending).string();
}

std::string Name(const std::string& path) { return fs::path(path).filename().string(); }

// False, with why when more can be said than that it cannot be read.
bool ReadWhole(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& why) {
    const OutsideFile found = ReadOutsideFile(path, kLargestUserCourse, bytes);
    why = found == OutsideFile::Unreadable ? "" : WhyNotRead(found, "course", kLargestUserCourse);
    return found == OutsideFile::Read;
}

// The text beside an opened map file: its header when it holds the same course.
void TakeTextBeside(OpenedCourse& opened) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!fs::exists(opened.files.text) || !ReadWhole(opened.files.text, bytes, why)) return;
    const std::string text(bytes.begin(), bytes.end());
    CourseGrid course;
    std::vector<std::string> unread;
    if (ParseCourseText(text, course, unread) && SameCourse(course, opened.course)) {
        opened.header = CourseTextHeaderOf(text);
        return;
    }
    opened.replacesOtherText = true;
    opened.notes.push_back(Name(opened.files.text) + " beside it holds another course; saving asks before it replaces it");
}

bool OpenMapFile(const std::vector<std::uint8_t>& bytes, OpenedCourse& opened, std::vector<std::string>& problems) {
    int version = 0;
    std::vector<std::string> flaws;
    if (!DecodeMapFile(bytes, opened.course, version, flaws)) {
        problems.insert(problems.end(), flaws.begin(), flaws.end());
        return false;
    }
    opened.notes = flaws;
    if (version != WrittenMapVersion) opened.notes.push_back("saved as version 3, which every reader takes");
    opened.header = CourseTextHeader("Made with quonfel-map edit from " + Name(opened.files.map) +
                                     " (map file version " + std::to_string(version) + ")");
    TakeTextBeside(opened);
    return true;
}
}  // namespace

CourseFiles FilesFor(const std::string& path, bool isMap) {
    return isMap ? CourseFiles{Beside(path, ".txt"), path} : CourseFiles{path, Beside(path, ".map")};
}

bool OpenCourse(const std::string& path, OpenedCourse& opened, std::vector<std::string>& problems) {
    std::error_code error;
    if (fs::symlink_status(path, error).type() == fs::file_type::not_found) {
        opened.files = FilesFor(path, LooksLikeMapFile(path, {}));
        opened.course.Resize(NewCourseColumns, NewCourseRows);
        opened.header = CourseTextHeader("A course made with quonfel-map edit");
        opened.isNew = true;
        return true;
    }
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ReadWhole(path, bytes, why)) {
        opened.unreadable = true;
        if (!why.empty()) problems.push_back(why);
        return false;
    }
    opened.files = FilesFor(path, LooksLikeMapFile(path, bytes));
    if (LooksLikeMapFile(path, bytes)) return OpenMapFile(bytes, opened, problems);
    const std::string text(bytes.begin(), bytes.end());
    if (!ParseCourseText(text, opened.course, problems)) return false;
    opened.header = CourseTextHeaderOf(text);
    return true;
}

SaveOutcome SaveCourse(const CourseFiles& files, const std::string& header, const EditorModel& model) {
    SaveOutcome outcome;
    const std::string text = header + FormatCourseRows(model.Course());
    if (const int error = SaveWholeFile(files.text, {text.begin(), text.end()}); error != 0) {
        outcome.line = "Not saved: cannot write " + files.text + " (" + std::strerror(error) + ")";
        return outcome;
    }
    outcome.textSaved = true;
    if (model.ProblemCount() > 0) {
        outcome.line = "Saved " + Name(files.text) + "; " + Name(files.map) + " not written while the check finds " +
                       std::to_string(model.ProblemCount()) + " problem(s)";
        return outcome;
    }
    if (const int error = SaveWholeFile(files.map, EncodeMapFile(model.Course())); error != 0) {
        outcome.line = "Saved " + Name(files.text) + ", but cannot write " + files.map + " (" + std::strerror(error) + ")";
        return outcome;
    }
    outcome.mapSaved = true;
    outcome.line = "Saved " + Name(files.text) + " and " + Name(files.map);
    return outcome;
}

std::optional<std::string> TextOnDisk(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (ReadOutsideFile(path, kLargestUserCourse, bytes) != OutsideFile::Read) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}
