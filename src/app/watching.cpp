#include "app/watching.h"

#include "app/app.h"
#include "app/keys.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "records/score_table.h"
#include "replays/watch.h"
#include "shared/globals.h"

namespace {
// Stopping a watch that leads to the course menu gives the game back its bus type.
std::int32_t busTypeBeforeWatching = 0;
}  // namespace

void BeginPreparedWatch() {
    WatchStart start;
    if (!TakePreparedWatch(start)) return;
    busTypeBeforeWatching = bus->busType;
    menuScreen->CourseCursor = start.course;
    scoreTable->currentCourse = start.course;
    if (start.course == UserMapCourse) courseMap->LoadUserCourse(start.userMap);
    StartDriving(start.busType);
}

void AdvanceWatch(Window* window) {
    int key = 0;
    while (NextWatchedKey(key)) {
        MainWindowProc(window, WM_KEYDOWN, static_cast<WParam>(key), 0);
        MainWindowProc(window, WM_KEYUP, static_cast<WParam>(key), 0);
    }
    WatchedKeysGiven();
}

bool TakeKeyWhileWatching(Window* window, int key) {
    switch (TakePlayerKey(key)) {
    case WatchKey::NotWatching: return false;
    case WatchKey::Ignored: break;
    case WatchKey::Quit:
    case WatchKey::StopAndEnd: QuitGame(window); break;
    case WatchKey::StopToMenu:
        bus->busType = busTypeBeforeWatching;
        ReturnToCourseMenu();
        break;
    }
    return true;
}
