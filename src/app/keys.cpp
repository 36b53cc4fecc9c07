#include "app/keys.h"

#include <cmath>
#include <map>

#include "app/map_to_play.h"
#include "app/watching.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "records/score_table.h"
#include "records/stopwatch.h"
#include "replays/drive_recorder.h"
#include "replays/watch.h"
#include "shared/globals.h"
#include "shared/texts.h"
#include "sound/sound.h"

namespace {
constexpr int kLastCourseRow = CourseCount - 1;
constexpr int kLastBusRow = BusTypeCount - 1;
// Leaving a run reloads the course, except for this row (course 11 is reloaded).
constexpr int kCourseNotReloaded = 10;

// Speed keys: speed changes by gear times the step.
struct SpeedKey {
    int key;
    double step;
};
const SpeedKey kSpeedKeys[] = {
    {'W', 0.4}, {VK_F8, 0.4}, {'S', 0.3},  {VK_F4, 0.3}, {'X', 0.2},  {VK_F9, 0.2},
    {'Q', -0.7}, {VK_F2, -0.7}, {'A', -0.5}, {'Z', -0.3}, {VK_F11, -0.3},
};

enum SteerKind { SteerLeft, SteerRight, SteerTowardZero };
struct SteerKey {
    int key;
    SteerKind kind;
    int degrees;
};
const SteerKey kSteerKeys[] = {
    {'U', SteerLeft, 16},  {VK_NUMPAD0 + 7, SteerLeft, 16},
    {'H', SteerLeft, 8},   {VK_LEFT, SteerLeft, 8},   {VK_NUMPAD0 + 4, SteerLeft, 8},
    {'J', SteerLeft, 4},   {VK_NUMPAD0 + 1, SteerLeft, 4},
    {'I', SteerRight, 16}, {VK_NUMPAD0 + 9, SteerRight, 16},
    {'L', SteerRight, 8},  {VK_RIGHT, SteerRight, 8}, {VK_NUMPAD0 + 6, SteerRight, 8},
    {'K', SteerRight, 4},  {VK_NUMPAD0 + 3, SteerRight, 4},
    {VK_NUMPAD0 + 8, SteerTowardZero, 16},
    {VK_NUMPAD0 + 5, SteerTowardZero, 8},
    {VK_NUMPAD0 + 2, SteerTowardZero, 4},
};

bool IsChooseKey(int key) { return key == VK_RETURN || key == VK_SPACE; }

void MoveCursor(std::int32_t& cursor, int key, int lastRow) {
    const std::int32_t before = cursor;
    if (key == VK_UP && cursor > 0) --cursor;
    if (key == VK_DOWN && cursor < lastRow) ++cursor;
    if (cursor != before) PlayCue(SoundCue::CursorMove);
}

// ---- Course menu -------------------------------------------------------------------------

void ChooseCourse() {
    const int course = menuScreen->CourseCursor;
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
    StartDriving();
}

void CourseSelectKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        CloseMainWindow(window);
    } else if (IsChooseKey(key)) {
        ChooseCourse();
    } else {
        MoveCursor(menuScreen->CourseCursor, key, kLastCourseRow);
    }
}

// ---- Bus-type menu -----------------------------------------------------------------------

void BusSelectKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        CloseMainWindow(window);
    } else if (IsChooseKey(key)) {
        bus->busType = menuScreen->BusCursor;
        PlayCue(SoundCue::Choose);
        StartDriving();
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
    const bool newBest = RecordGoal(stopwatch->TotalSeconds());
    scoreTable->Save();
    if (newBest) SaveBestDrive(stopwatch->driveTime, stopwatch->penaltyTime, stopwatch->TotalSeconds());
}

void TryGoalIn() {
    if (courseMap->CheckGoalIn() != 1) return;
    PlayCue(SoundCue::GoalIn);
    ScreenState = Result;
    ClearBusControls();
    stopwatch->Stop();
    // A drive being watched scores nothing and writes nothing.
    if (!Watching()) ScoreTheGoal();
    bus->busType = 0;  // set up again when the next course starts
}

// ---- Driving ------------------------------------------------------------------------------

// The gear moves only while the bus stands; in neutral the goal is tried even when the
// press changed nothing.
void ShiftGear(int direction) {
    std::int32_t& gear = liveBusState.gear;
    const std::int32_t before = gear;
    if (liveBusState.speed == 0) gear += direction;
    if (gear > 1) {
        gear = 1;
    } else if (gear < -1) {
        gear = -1;
    } else if (gear == 0) {
        TryGoalIn();
    }
    if (gear != before) PlayCue(SoundCue::GearChange);
}

void ChangeSpeed(double step) {
    double& speed = liveBusState.speed;
    const double before = speed;
    speed = speed + liveBusState.gear * step;
    if (liveBusState.gear == 1 && speed < 0) speed = 0;
    if (liveBusState.gear == -1 && speed > 0) speed = 0;
    if (std::fabs(speed) < std::fabs(before)) PlayCue(SoundCue::Brake);
}

void Steer(SteerKind kind, int degrees) {
    double& angle = liveBusState.steering;
    switch (kind) {
    case SteerLeft:
        angle = angle + Bus::DegToRad(degrees);
        if (angle > Bus::DegToRad(maxSteerDeg)) angle = Bus::DegToRad(maxSteerDeg);
        break;
    case SteerRight:
        angle = angle - Bus::DegToRad(degrees);
        if (angle < -Bus::DegToRad(maxSteerDeg)) angle = -Bus::DegToRad(maxSteerDeg);
        break;
    case SteerTowardZero:
        if (angle < 0) {
            angle = angle + Bus::DegToRad(degrees);
            if (angle > 0) angle = 0;
        } else {
            angle = angle - Bus::DegToRad(degrees);
            if (angle < 0) angle = 0;
        }
        break;
    }
}

// Gear, speed and steering keys; false for any other key.
bool DrivingControlKey(int key) {
    if (key == VK_UP || key == VK_DOWN) {
        stopwatch->Start();
        ShiftGear(key == VK_UP ? 1 : -1);
        return true;
    }
    for (const auto& speedKey : kSpeedKeys) {
        if (speedKey.key != key) continue;
        stopwatch->Start();
        ChangeSpeed(speedKey.step);
        return true;
    }
    for (const auto& steerKey : kSteerKeys) {
        if (steerKey.key != key) continue;
        stopwatch->Start();
        Steer(steerKey.kind, steerKey.degrees);
        return true;
    }
    return false;
}

void LeaveOrCloseKey(Window* window, int key) {
    if (key == VK_ESCAPE) {
        CloseMainWindow(window);
    } else if (IsChooseKey(key)) {
        ReturnToCourseMenu();
    }
}

bool GameObjectsExist() { return courseMap && menuScreen && bus && stopwatch && scoreTable; }

// ---- Gamepad ------------------------------------------------------------------------------

// What each button means on the menus, while driving and on the result screen. A (the gas
// while driving) does nothing on the result screen, so a press meant for the gas as the bus
// crashes does not skip it; Start leaves it, as Enter does. No button quits: Esc is too
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
    {PadStart, VK_RETURN, VK_RETURN, VK_RETURN},
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

void StartDriving() {
    bus->Setup();
    if (!LoadMapToPlay(menuScreen->CourseCursor)) courseMap->LoadCourse(menuScreen->CourseCursor);
    ScreenState = Driving;
    BeginDriveRecording(menuScreen->CourseCursor, bus->busType, courseMap->mapFileRead);
}

// Leaving a run or the result screen: nothing is recorded.
void ReturnToCourseMenu() {
    if (menuScreen->CourseCursor != kCourseNotReloaded) {
        courseMap->LoadCourse(menuScreen->CourseCursor);
    }
    stopwatch->Reset();
    ScreenState = CourseSelect;
}

int PadButtonKey(std::int32_t screen, int button) {
    for (const auto& keys : kPadKeys) {
        if (keys.button != button) continue;
        switch (screen) {
        case CourseSelect:
        case BusSelect: return keys.menuKey;
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
    if (TakeVolumeKey(key)) return;
    if (TakeKeyWhileWatching(window, key)) return;
    if (ScreenState == Driving) RecordDrivingKey(key);
    switch (ScreenState) {
    case CourseSelect:
        CourseSelectKey(window, key);
        break;
    case BusSelect:
        BusSelectKey(window, key);
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
