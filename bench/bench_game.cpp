#include "bench_game.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/text_file.h"
#include "records/score_table.h"
#include "shared/globals.h"

namespace fs = std::filesystem;

namespace {
std::string workFolder;

constexpr int kRoadRow = 10;
// Road tiles along x that the rules test with corner pieces, and plain ones between them.
const int kRoadPattern[] = {15, 13, 11, 1, 3, 4, 15, 15};

int CellCode(int x, int y) {
    if (y == kRoadRow) {
        if (x == 0) return TileStartRight;
        if (x == GridSize - 1) return 21;  // goal for a bus driving right
        return kRoadPattern[x % 8];
    }
    return (x * 7 + y * 3) % 16;  // every road shape, none of them start or goal
}

void WriteBusyCourse() {
    std::vector<std::uint8_t> stream;
    AppendInt32(stream, 3);
    AppendInt32(stream, GridSize);
    AppendInt32(stream, GridSize);
    for (int x = 0; x < GridSize; ++x) {
        for (int y = 0; y < GridSize; ++y) AppendInt32(stream, CellCode(x, y));
    }
    WriteTextModeFile(std::to_string(kBusyCourse) + ".map", stream);
}

bool LinkPictures() {
    int linked = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(QUONFEL_GAME_DIR, error)) {
        if (entry.path().extension() != ".bmp") continue;
        fs::create_symlink(entry.path(), fs::current_path() / entry.path().filename(), error);
        if (!error) ++linked;
    }
    if (linked == 33) return true;
    std::fprintf(stderr, "found %d of the 33 pictures in %s; build the game data first\n", linked,
                 QUONFEL_GAME_DIR);
    return false;
}
}  // namespace

bool SetUpBenchGame() {
    std::string pattern = (fs::temp_directory_path() / "quonfel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    workFolder = pattern;
    fs::current_path(workFolder);
    SetMessageBoxHandler([](const std::string& text, const std::string& caption, unsigned) {
        std::fprintf(stderr, "message box: %s: %s\n", caption.c_str(), text.c_str());
        return 1;
    });
    if (!LinkPictures()) return false;
    WriteBusyCourse();
    if (CreateSurfaces(640, 480) != 1 || LoadAllBitmaps() != 1) {
        std::fprintf(stderr, "cannot create the surfaces or load the pictures\n");
        return false;
    }
    CreateGameObjects();
    // Every course open and cleared, so the menu shows every kind of row.
    for (int c = 0; c < CourseCount; ++c) {
        scoreTable->Current(c).courseState = Completed;
        scoreTable->Current(c).bestTime = 60 * c + 5;
    }
    return true;
}

void TearDownBenchGame() {
    ReleaseAll();
    fs::current_path("/");
    std::error_code ignored;
    fs::remove_all(workFolder, ignored);
}

void StartBusyDrive(int busType, double speed) {
    menuScreen->CourseCursor = kBusyCourse;
    bus->busType = busType;
    bus->Setup();
    courseMap->LoadCourse(kBusyCourse);
    ScreenState = Driving;
    render_frame();  // places the bus
    MainWindowProc(nullptr, WM_KEYDOWN, VK_UP, 0);  // forward gear; the stopwatch starts
    liveBusState.speed = speed;
}
