#include "app/operations.h"

#include "app/app.h"
#include "app/map_to_play.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/texts.h"
#include "sound/sound.h"

namespace {
// Leaving a run reloads the course, except for this row (course 11 is reloaded).
constexpr int kCourseNotReloaded = 10;
}  // namespace

void ChooseCourse(int course) {
    menuScreen->CourseCursor = course;
    scoreTable->currentCourse = course;
    const std::int32_t state = scoreTable->Current(course).courseState;
    const bool givenMap = course == UserMapCourse && MapToPlayGiven();
    if (state < 0 && !givenMap) {
        MessageBox(Texts().courseLocked, Texts().courseLockedCaption, MB_OK);
        return;
    }
    PlayCue(SoundCue::Choose);
    if (course == UserMapCourse && !givenMap) courseMap->ChooseUserMap();
    if (state == Completed) menuScreen->ShowBusMenu = 1;
    if (menuScreen->ShowBusMenu == 1) {
        ScreenState = BusSelect;
        return;
    }
    StartDriving(bus->busType);
}

void StartDriving(std::int32_t busType) {
    bus->busType = busType;
    bus->Setup();
    const int course = menuScreen->CourseCursor;
    if (!LoadMapToPlay(course) && !WatchedMapStays(course)) courseMap->LoadCourse(course);
    ScreenState = Driving;
    BeginDriveRecording(menuScreen->CourseCursor, bus->busType, courseMap->mapFileRead);
    BeginGhost(GameSettings.ghost, menuScreen->CourseCursor, courseMap->mapFileRead);
}

void ReturnToCourseMenu() {
    if (menuScreen->CourseCursor != kCourseNotReloaded) {
        courseMap->LoadCourse(menuScreen->CourseCursor);
    }
    stopwatch->Reset();
    ScreenState = CourseSelect;
}

void QuitGame(Window* window) {
    if (window) {
        window->Destroy();  // its WM_DESTROY does the shutdown
    } else {
        MainWindowProc(nullptr, WM_DESTROY, 0, 0);
    }
}
