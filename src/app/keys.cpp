#include "app/keys.h"

#include <cmath>
#include <map>

#include "app/app.h"
#include "app/course_note.h"
#include "app/key_help.h"
#include "app/map_to_play.h"
#include "app/shelf_menu.h"
#include "app/watching.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "menus/shelf_screen.h"
#include "platform/dialogs.h"
#include "platform/file_save.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "records/shelf.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/texts.h"
#include "sound/sound.h"

namespace {
constexpr int kLastCourseRow = CourseCount - 1;
constexpr int kLastBusRow = BusTypeCount - 1;
// Leaving a run reloads the course, except for this row (course 11 is reloaded).
constexpr int kCourseNotReloaded = 10;

bool IsChooseKey(int key) { return key == VK_RETURN || key == VK_SPACE; }

// While paused only the keys that leave the drive or the game keep their meaning; the pause
// key itself and the volume keys are taken before.
bool ActsWhilePaused(int key) { return IsChooseKey(key) || key == VK_ESCAPE; }

void TogglePause() {
    if (DrivingPaused()) ResumeDriving();
    else PauseDriving();
}

void MoveCursor(std::int32_t& cursor, int key, int lastRow) {
    const std::int32_t before = cursor;
    if (key == VK_UP && cursor > 0) --cursor;
    if (key == VK_DOWN && cursor < lastRow) ++cursor;
    if (cursor != before) PlayCue(SoundCue::CursorMove);
}

// ---- Course menu -------------------------------------------------------------------------

void CourseSelectKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        QuitGame(window);
    } else if (IsChooseKey(key)) {
        ChooseCourse(menuScreen->CourseCursor);
    } else {
        MoveCursor(menuScreen->CourseCursor, key, kLastCourseRow);
    }
}

// ---- Shelf -------------------------------------------------------------------------------

void ShelfSelectKey(int key) {
    if (key == VK_ESCAPE) {
        LeaveShelf();
    } else if (IsChooseKey(key)) {
        ChooseOnShelf();
    } else if ((key == VK_UP || key == VK_DOWN) && MoveShelfCursor(key == VK_UP ? -1 : 1)) {
        PlayCue(SoundCue::CursorMove);
    }
}

// ---- Bus-type menu -----------------------------------------------------------------------

void BusSelectKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        QuitGame(window);
    } else if (IsChooseKey(key)) {
        PlayCue(SoundCue::Choose);
        StartDriving(menuScreen->BusCursor);
    } else {
        MoveCursor(menuScreen->BusCursor, key, kLastBusRow);
    }
}

// ---- Goal ---------------------------------------------------------------------------------

void ClearBusControls() {
    liveBusState.placed = 0;
    liveBusState.speed = 0;
    liveBusState.gear = 0;
    liveBusState.steering = 0;
}

// True when the time is the course's new best.
bool RecordGoal(std::int32_t seconds) {
    CourseRecord& record = scoreTable->Current(scoreTable->currentCourse);
    const bool newBest = record.bestTime > seconds || record.bestTime == 0;
    if (newBest) record.bestTime = seconds;
    record.courseState = Completed;
    if (scoreTable->currentCourse < UserMapCourse) {
        CourseRecord& next = scoreTable->Current(scoreTable->currentCourse + 1);
        if (next.courseState != Completed) next.courseState = Open;
    }
    return newBest;
}

// The best time and the course locks go to score.dat, and a new best time's drive beside it.
void ScoreTheGoal() {
    const SharedLockWait oneWait;  // the two files together never hold up the goal longer than one
    const bool newBest = RecordGoal(stopwatch->TotalSeconds());
    scoreTable->Save();
    if (newBest) SaveBestDrive(stopwatch->driveTime, stopwatch->penaltyTime, stopwatch->TotalSeconds());
    ScoreShelfGoal(stopwatch->driveTime, stopwatch->penaltyTime, stopwatch->TotalSeconds());
}

// With hints on, a bus left in neutral on the goal tile hears why the goal does not count.
void HintWhyNoGoal() {
    if (!GameSettings.hints) return;
    const std::string hint = GoalHintText(courseMap->MissedGoal());
    if (!hint.empty()) ShowCourseNote(hint);
}

void TryGoalIn() {
    if (courseMap->CheckGoalIn() != 1) return HintWhyNoGoal();
    ForgetCourseNote();
    PlayCue(SoundCue::GoalIn);
    ScreenState = Result;
    ClearBusControls();
    stopwatch->Stop();
    // A drive being watched scores nothing and writes nothing, nor does a game without records.
    if (!Watching() && RecordsKept) ScoreTheGoal();
    bus->busType = 0;  // set up again when the next course starts
}

// ---- Driving ------------------------------------------------------------------------------

// Gear, speed and steering keys; false for any other key. Each starts the stopwatch first,
// whether or not it then changes anything.
bool DrivingControlKey(int key) {
    if (!IsControlKey(key)) return false;
    stopwatch->Start();
    const std::int32_t gearBefore = liveBusState.gear;
    const double speedBefore = liveBusState.speed;
    const ControlResult result = ApplyControlKey(liveBusState, key, maxSteerDeg);
    if (liveBusState.gear != gearBefore) PlayCue(SoundCue::GearChange);
    if (std::fabs(liveBusState.speed) < std::fabs(speedBefore)) PlayCue(SoundCue::Brake);
    if (result == ControlResult::LeftInNeutral) TryGoalIn();
    return true;
}

void LeaveOrCloseKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        QuitGame(window);
    } else if (IsChooseKey(key)) {
        ReturnToCourseMenu();
    }
}

// The course under the cursor may be driven: the bus menu first when it is cleared, or once
// the bus menu has shown.
void GoToDrive(bool cleared) {
    if (cleared) menuScreen->ShowBusMenu = 1;
    if (menuScreen->ShowBusMenu == 1) {
        ScreenState = BusSelect;
        return;
    }
    StartDriving(bus->busType);
}

bool GameObjectsExist() { return courseMap && menuScreen && bus && stopwatch && scoreTable; }

// ---- Gamepad ------------------------------------------------------------------------------

// What each button means on the menus, while driving and on the result screen. A (the gas
// while driving) does nothing on the result screen, so a press meant for the gas as the bus
// crashes does not skip it, nor the gas of a paused drive; Start pauses the drive and leaves
// the result screen, as Enter does. No button quits: Esc is too
// easy to hit for that, and quitting stays with the keyboard, the popup and the desktop.
struct PadKeys {
    int button;
    int menuKey;
    int drivingKey;
    int resultKey;
};
const PadKeys kPadKeys[] = {
    {PadUp, VK_UP, VK_UP, 0},
    {PadDown, VK_DOWN, VK_DOWN, 0},
    {PadLeft, 0, 'H', 0},
    {PadRight, 0, 'L', 0},
    {PadLeftShoulder, 0, 'J', 0},
    {PadRightShoulder, 0, 'K', 0},
    {PadA, VK_RETURN, 'W', 0},
    {PadX, 0, 'X', 0},
    {PadB, 0, 'Q', 0},
    {PadY, 0, VK_NUMPAD0 + 5, 0},
    {PadRightTrigger, 0, 'W', 0},
    {PadLeftTrigger, 0, 'Q', 0},
    {PadStart, VK_RETURN, VK_PAUSE, VK_RETURN},
};

// What a held button pressed: its key, on that screen.
struct HeldPadKey {
    int key;
    std::int32_t screen;
};
// By pad and button.
std::map<long, HeldPadKey> heldPadKeys;

long HeldPadKeyIndex(LParam lParam, WParam button) {
    return static_cast<long>(lParam & 0xFFFF) << 8 | static_cast<long>(button & 0xFF);
}
}  // namespace

void ChooseCourse(int course) {
    menuScreen->CourseCursor = course;
    scoreTable->currentCourse = course;
    if (course == UserMapCourse && OpenShelf()) return;
    const std::int32_t state = scoreTable->Current(course).courseState;
    const bool givenMap = course == UserMapCourse && MapToPlayGiven();
    if (state < 0 && !givenMap) {
        MessageBox(Texts().courseLocked, Texts().courseLockedCaption, MB_OK);
        return;
    }
    PlayCue(SoundCue::Choose);
    if (course == UserMapCourse && !givenMap) courseMap->ChooseUserMap();
    GoToDrive(state == Completed);
}

void ChooseUserCourse(bool cleared) {
    menuScreen->CourseCursor = UserMapCourse;
    scoreTable->currentCourse = UserMapCourse;
    PlayCue(SoundCue::Choose);
    GoToDrive(cleared);
}

void StartDriving(std::int32_t busType) {
    ResumeDriving();
    bus->busType = busType;
    bus->Setup();
    const int course = menuScreen->CourseCursor;
    if (!LoadMapToPlay(course) && !WatchedMapStays(course)) courseMap->LoadCourse(course);
    ScreenState = Driving;
    BeginDriveRecording(menuScreen->CourseCursor, bus->busType, courseMap->mapFileRead);
    BeginShelfDrive(course);
    ForgetCourseNote();
    const std::string noGhost = NoGhostText(BeginGhost(GameSettings.ghost, menuScreen->CourseCursor, courseMap->mapFileRead));
    if (!noGhost.empty()) ShowCourseNote(noGhost);
}

void ReturnToCourseMenu() {
    ResumeDriving();
    if (menuScreen->CourseCursor != kCourseNotReloaded) {
        courseMap->LoadCourse(menuScreen->CourseCursor);
    }
    stopwatch->Reset();
    ScreenState = CourseSelect;
    lastRowOnShelf = ShelfHoldsACourse();
}

bool IsPauseKey(int key) { return key == 'P' || key == VK_PAUSE; }

int PadButtonKey(std::int32_t screen, int button) {
    for (const auto& keys : kPadKeys) {
        if (keys.button != button) continue;
        switch (screen) {
        case CourseSelect:
        case BusSelect: return keys.menuKey;
        case ShelfSelect: return keys.button == PadB ? VK_ESCAPE : keys.menuKey;
        case Driving: return keys.drivingKey;
        case Result: return keys.resultKey;
        default: return 0;
        }
    }
    return 0;
}

void HandlePadButton(Window* window, std::uint32_t message, WParam button, LParam lParam) {
    constexpr LParam kRepeatBit = LParam{1} << 30;
    const long held = HeldPadKeyIndex(lParam, button);
    if (message == WM_PADBUTTONUP) {
        heldPadKeys.erase(held);
        return;
    }
    if (message != WM_PADBUTTONDOWN) return;
    int key = 0;
    if (!(lParam & kRepeatBit)) {
        key = PadButtonKey(ScreenState, static_cast<int>(button));
        heldPadKeys[held] = HeldPadKey{key, ScreenState};
    } else if (heldPadKeys.count(held) != 0) {
        // A held button repeats its key on the screen it was pressed on only, and stops for
        // good once that screen is left: A held from the menu into the drive would otherwise
        // give the drive up again and again.
        if (heldPadKeys[held].screen == ScreenState) key = heldPadKeys[held].key;
        else heldPadKeys.erase(held);
    }
    if (key != 0) HandleKeyDown(window, key);
}

void HandleKeyDown(Window* window, int key) {
    // Keys still queued after shutdown find nothing to act on.
    if (!GameObjectsExist()) return;
    // Only a player at a window opens the key list: the keys of a recorded drive, watched or
    // driven headless, never do, so an old key file with F1 in it plays as it always did.
    if (window != nullptr && !FeedingWatchedKeys() && TakeKeyHelpKey(key)) return;
    if (TakeVolumeKey(key)) return;
    // A watched drive is never paused: its fed keys are the recorded ones, and an old file may
    // hold a P that did nothing when it was driven.
    if (ScreenState == Driving && IsPauseKey(key) && !Watching()) return TogglePause();
    if (DrivingPaused() && !ActsWhilePaused(key)) return;
    if (ScreenState == Driving && key == kGhostKey) return ToggleGhostShown();
    if (TakeKeyWhileWatching(window, key)) return;
    if (ScreenState == Driving) RecordDrivingKey(key);
    switch (ScreenState) {
    case CourseSelect:
        CourseSelectKey(window, key);
        break;
    case BusSelect:
        BusSelectKey(window, key);
        break;
    case ShelfSelect:
        ShelfSelectKey(key);
        break;
    case Driving:
        if (!DrivingControlKey(key)) LeaveOrCloseKey(window, key);
        break;
    case Result:
        LeaveOrCloseKey(window, key);
        break;
    default:
        break;
    }
}
