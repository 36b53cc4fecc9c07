// The user-made map: a map file chosen in the file dialog.
#include <filesystem>
#include <system_error>
#include <vector>

#include "course/course_map.h"
#include "course/map_reading.h"
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
    const OutsideFile found = ReadTextModeFile(path, kLargestMapFile, stream);
    SayFileNotRead("the map file", path, found, kLargestMapFile);
    if (found != OutsideFile::Read) return 0;

    if (!MapDamage(stream, MapReader::UserMap).empty()) RejectUserMap();
    Int32Reader reader(stream);
    const std::int32_t version = ReadOrZero(reader);
    const std::int32_t xCount = ReadOrZero(reader);
    const std::int32_t yCount = ReadOrZero(reader);

    for (int x = 0; x < xCount; ++x) {
        for (int y = 0; y < yCount; ++y) {
            const std::int32_t value = UnbiasedCell(version, ReadOrZero(reader));
            StoreMapCell(*this, x, y, value < 0 ? TileEmpty : value);
        }
    }
    FinishMapLoad(*this, xCount, yCount);
    mapFileRead = path;
    return 1;
}

void CourseMap::ChooseUserMap() {
    std::string path;
    const bool chosen = GetOpenFileName(UserMapRequest(), path);
    // The dialog was a separate window; give the game its keyboard back.
    if (Window::Current()) Window::Current()->TakeFocus();
    if (!chosen) return;
    LoadUserMap(path);  // the dialog's path is already full
}
