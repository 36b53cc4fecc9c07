// The user-made map: a map file chosen in the file dialog.
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "course/course_map.h"
#include "course/map_reading.h"
#include "course/user_course.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/text_file.h"
#include "platform/window.h"
#include "shared/outside_text.h"
#include "shared/texts.h"

namespace {
constexpr int kShortUserMapStatus = -3;

[[noreturn]] void RejectUserMap() {
    MessageBox(Texts().shortUserMap, Texts().shortUserMapCaption, MB_ICONERROR);
    ExitProcessNow(kShortUserMapStatus);
}

std::int32_t ReadOrZero(Int32Reader& reader) {
    std::int32_t value = 0;
    return reader.Read(value) ? value : 0;
}

// Reads the stream into map; empty, or why the reader stops the program.
std::string ReadUserMapStream(const std::vector<std::uint8_t>& stream, CourseMap& map) {
    const std::string damage = MapDamage(stream, MapReader::UserMap);
    if (!damage.empty()) return damage;
    Int32Reader reader(stream);
    const std::int32_t version = ReadOrZero(reader);
    const std::int32_t xCount = ReadOrZero(reader);
    const std::int32_t yCount = ReadOrZero(reader);
    for (int x = 0; x < xCount; ++x) {
        for (int y = 0; y < yCount; ++y) {
            const std::int32_t value = UnbiasedCell(version, ReadOrZero(reader));
            StoreMapCell(map, x, y, value < 0 ? TileEmpty : value);
        }
    }
    FinishMapLoad(map, xCount, yCount);
    return "";
}

std::string CurrentDirectory() {
    std::error_code error;
    const auto path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

OpenFileRequest UserMapRequest() {
    OpenFileRequest request;
    request.title = Texts().userMapDialogTitle;
    request.filters = {{Texts().mapFilesFilter, "*.map"}, {Texts().allFilesFilter, "*.*"}};
    request.filterIndex = 1;
    request.initialDirectory = CurrentDirectory();
    return request;
}
}  // namespace

// Unlike the course reader: every version is taken, every negative value is an empty cell,
// and a file shorter than its counts promise ends the program.
int CourseMap::LoadUserMap(const std::string& path) {
    std::vector<std::uint8_t> stream;
    if (!ReadGameFile("map file", path, kLargestMapFile, stream)) return 0;
    if (!ReadUserMapStream(stream, *this).empty()) RejectUserMap();
    mapFileRead = path;
    return 1;
}

int CourseMap::LoadUserCourse(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> problems;
    bool fromText = false;
    if (!ReadUserCourse(path, bytes, problems, &fromText)) return 0;
    if (!fromText) return LoadUserMap(path);
    // Built from a text the game can hold: whole, and without a CR-LF pair to translate.
    ReadUserMapStream(bytes, *this);
    mapFileRead = path;
    return 1;
}

std::string UserCourseProblem(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> problems;
    bool fromText = false;
    const bool read = ReadUserCourse(path, bytes, problems, &fromText);
    if (fromText) return read || problems.empty() ? "" : problems.front();
    return MapFileProblem(path, MapReader::UserMap);
}

void RejectUserMapFile(const std::string& path, const std::string& flaw) {
    std::fprintf(stderr, "quonfel: %s: %s\n", Printable(path).c_str(), flaw.c_str());
    RejectUserMap();
}

void CourseMap::ChooseUserMap() {
    std::string path;
    const bool chosen = GetOpenFileName(UserMapRequest(), path);
    // The dialog was a separate window; give the game its keyboard back.
    if (Window::Current()) Window::Current()->TakeFocus();
    if (!chosen) return;
    LoadUserMap(path);  // the dialog's path is already full
}
