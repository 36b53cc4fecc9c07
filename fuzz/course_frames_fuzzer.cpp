// A course file from outside, driven: any bytes are read as "7.map", then the bus is set up
// and driven through real frames by keys taken from the input. Whatever the file holds
// (codes outside the tile table, a start off the grid, no start at all), drawing the view,
// placing the bus, the rules and the goal-in stay inside the grid and the surfaces.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/app.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "fuzz_support.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/surface.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"

namespace {
constexpr int kCourseIndex = 7;
constexpr std::size_t kMaxKeys = 48;

// The keys of the driving screen and Enter, which leaves for the course menu.
const int kKeys[] = {VK_UP, VK_DOWN, 'W', 'S', 'X', 'Q', 'A', 'Z', 'U', 'H', 'J',
                     'I', 'L', 'K', VK_NUMPAD0 + 8, VK_NUMPAD0 + 5, VK_NUMPAD0 + 2, VK_RETURN};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

void WriteBitmap(const std::string& name, int width, int height, Colorref colour) {
    auto surface = Surface::Create(width, height);
    FuzzExpect(surface != nullptr, "a surface for a bitmap");
    surface->Fill(colour);
    // A magenta corner so keyed copies take both paths.
    surface->FillRect({0, 0, width / 4, height / 4}, ColourKeyMagenta);
    FuzzExpect(surface->SaveBmp(FuzzFilePath(name)), "a bitmap written");
}

void WriteBitmaps() {
    for (int n = 0; n < 24; ++n) WriteBitmap(std::to_string(n) + ".bmp", 128, 128, Rgb(n * 10, 120, 60));
    const char* screens[] = {"front.bmp", "back.bmp", "discontinue.bmp", "goalin.bmp", "menu1.bmp", "menu2.bmp"};
    for (const char* name : screens) WriteBitmap(name, 640, 480, Rgb(40, 40, 40));
    WriteBitmap("gear.bmp", 72, 36, Rgb(200, 200, 200));
    WriteBitmap("alarm.bmp", 179, 59, Rgb(255, 0, 0));
    WriteBitmap("number.bmp", 132, 42, Rgb(255, 255, 255));
}

void SetUpGame() {
    WriteBitmaps();
    FuzzExpect(CreateSurfaces(640, 480) == 1, "surfaces made");
    FuzzExpect(LoadAllBitmaps() == 1, "bitmaps loaded");
    CreateGameObjects();
}

// A failed copy of the view or the frame shows a box; no course may cause one.
int bltErrorBoxes = 0;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    SetUpGame();
    SetMessageBoxHandler([](const std::string&, const std::string& caption, unsigned) {
        if (caption == "Blt Error!") ++bltErrorBoxes;
        return 1;
    });
    return 0;
}

// Input: one byte with the number of keys, one with the bus type, the keys, then the map.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t keyCount = std::min<std::size_t>({data[0], kMaxKeys, size - 2});
    const std::uint8_t* keys = data + 2;
    WriteFuzzInput("7.map", keys + keyCount, size - 2 - keyCount);

    // Every input starts as the first drive of a fresh game, so that a kept input replays.
    *courseMap = CourseMap();
    *menuScreen = MenuScreen();
    *scoreTable = ScoreTable();
    stopwatch->Reset();
    liveBusState = BusState{};
    frameBusState = BusState{};
    menuScreen->CourseCursor = kCourseIndex;
    bus->busType = data[1] % BusTypeCount;
    bus->Setup();
    bltErrorBoxes = 0;
    try {
        courseMap->LoadCourse(kCourseIndex);
    } catch (const ProcessExitRequest&) {
        return 0;  // refused as damaged: nothing to drive
    }
    ScreenState = Driving;
    render_frame();
    for (std::size_t i = 0; i < keyCount; ++i) {
        MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(kKeys[keys[i] % kKeyCount]), 0);
        for (int frame = 0; frame <= keys[i] / kKeyCount % 4; ++frame) render_frame();
    }
    FuzzExpect(bltErrorBoxes == 0, "every copy of the course view succeeds");
    return 0;
}
