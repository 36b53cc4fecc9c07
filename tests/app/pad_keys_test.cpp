// Gamepad buttons, read through the window from SDL's virtual joysticks, act exactly as the
// keys they stand for.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/app.h"
#include "app/headless_fixtures.h"
#include "app/keys.h"
#include "bus/bus.h"
#include "menus/menu_screen.h"
#include "platform/window.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "support/window_support.h"

namespace {

std::string GameState() {
    std::ostringstream state;
    state << "screen " << ScreenState << " cursors " << menuScreen->CourseCursor << "/" << menuScreen->BusCursor
          << " gear " << liveBusState.gear << " speed " << liveBusState.speed << " steering "
          << liveBusState.steering << " watch " << stopwatch->watchState << " paused " << DrivingPaused();
    return state.str();
}

struct Case {
    std::int32_t screen;
    bool axis;   // an axis pushed to its end, else a button
    int number;  // in SDL's game controller numbering
    int key;     // 0: the input does nothing there
};

class PadKeysTest : public HeadlessObjects {
protected:
    void SetUp() override {
        HeadlessObjects::SetUp();
        window = WindowAccess::CreateHeadless(MainWindowProc, 640, 480);
        pad = std::make_unique<VirtualPad>();
        ASSERT_TRUE(window && pad->Attached()) << SDL_GetError();
        PumpMessages(*window);
    }
    void TearDown() override {
        pad.reset();
        window.reset();
        HeadlessObjects::TearDown();
    }

    // The practice course (open on a fresh table) under the cursor; a bus that stands in
    // neutral, or rolls forward with the wheels turned.
    static void Prepare(std::int32_t screen, bool rolling) {
        ScreenState = screen;
        menuScreen->CourseCursor = 0;
        menuScreen->BusCursor = 1;
        liveBusState.gear = rolling ? 1 : 0;
        liveBusState.speed = rolling ? 1.0 : 0.0;
        liveBusState.steering = 0.3;
        stopwatch->Reset();
        ResumeDriving();
    }

    // Pushes the input and lets go of it, the window reading each.
    void Use(bool axis, int number) {
        const bool trigger = number >= SDL_CONTROLLER_AXIS_TRIGGERLEFT;
        if (axis) pad->MoveAxis(number, number == SDL_CONTROLLER_AXIS_LEFTX ? -32768 : 32767);
        else pad->Press(number);
        PumpMessages(*window);
        if (axis) pad->MoveAxis(number, trigger ? -32768 : 0);
        else pad->Release(number);
        PumpMessages(*window);
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<VirtualPad> pad;
};

}  // namespace

TEST_F(PadKeysTest, EachInputChangesTheGameAsItsKeyDoesAndNoneQuits) {
    const Case cases[] = {
        {CourseSelect, false, SDL_CONTROLLER_BUTTON_A, VK_RETURN},
        {CourseSelect, false, SDL_CONTROLLER_BUTTON_START, VK_RETURN},
        {CourseSelect, false, SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
        {CourseSelect, true, SDL_CONTROLLER_AXIS_LEFTY, VK_DOWN},
        {CourseSelect, false, SDL_CONTROLLER_BUTTON_B, 0},
        {BusSelect, false, SDL_CONTROLLER_BUTTON_A, VK_RETURN},
        {BusSelect, false, SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
        {Driving, false, SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
        {Driving, false, SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
        {Driving, false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 'H'},
        {Driving, false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 'L'},
        {Driving, true, SDL_CONTROLLER_AXIS_LEFTX, 'H'},
        {Driving, false, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 'J'},
        {Driving, false, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 'K'},
        {Driving, false, SDL_CONTROLLER_BUTTON_A, 'W'},
        {Driving, false, SDL_CONTROLLER_BUTTON_X, 'X'},
        {Driving, false, SDL_CONTROLLER_BUTTON_B, 'Q'},
        {Driving, false, SDL_CONTROLLER_BUTTON_Y, VK_NUMPAD0 + 5},
        {Driving, true, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 'W'},
        {Driving, true, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 'Q'},
        {Driving, false, SDL_CONTROLLER_BUTTON_START, VK_PAUSE},
        {Result, false, SDL_CONTROLLER_BUTTON_START, VK_RETURN},
        {Result, false, SDL_CONTROLLER_BUTTON_A, 0},  // a gas press as the bus crashes
    };
    for (const Case& c : cases) {
        // The gear keys are tried on a standing bus, every other driving key on a rolling one.
        const bool rolling = c.screen == Driving && c.key != VK_UP && c.key != VK_DOWN;
        Prepare(c.screen, rolling);
        if (c.key != 0) MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(c.key), 0);
        const std::string byKey = GameState();
        Prepare(c.screen, rolling);
        Use(c.axis, c.number);
        EXPECT_EQ(GameState(), byKey) << "screen " << c.screen << (c.axis ? " axis " : " button ") << c.number;
    }
    for (std::int32_t screen : {CourseSelect, BusSelect, Driving, Result}) {
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
            Prepare(screen, true);
            Use(false, button);
            ASSERT_FALSE(window->IsDestroyed()) << "screen " << screen << " button " << button;
        }
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

// Holding A from the menu into the drive repeats neither Enter (the drive would be given up
// again and again) nor the gas that A means on the new screen: it is pressed anew.
TEST_F(PadKeysTest, AHeldButtonRepeatsTheKeyItPressedOnItsScreenOnly) {
    const LParam pad = 3, repeat = LParam{1} << 30, released = static_cast<LParam>(std::uint32_t{3} << 30);
    Prepare(CourseSelect, false);
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadA, pad);
    ASSERT_EQ(ScreenState, Driving);
    liveBusState.gear = 1;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadA, pad | repeat);
    EXPECT_EQ(ScreenState, Driving);
    EXPECT_EQ(liveBusState.speed, 0.0);
    ScreenState = CourseSelect;  // back on its screen, still held: it stays quiet
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadA, pad | repeat);
    EXPECT_EQ(ScreenState, CourseSelect);

    Prepare(Driving, true);
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad);
    MainWindowProc(nullptr, WM_PADBUTTONUP, PadB, (pad + 1) | released);  // another pad's B
    liveBusState.speed = 2.0;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad | repeat);
    EXPECT_DOUBLE_EQ(liveBusState.speed, 1.3);
    MainWindowProc(nullptr, WM_PADBUTTONUP, PadB, pad | released);
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad | repeat);  // stray: B is up
    EXPECT_DOUBLE_EQ(liveBusState.speed, 1.3);
}
