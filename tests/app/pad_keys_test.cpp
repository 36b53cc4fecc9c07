// Gamepad buttons, read through the window from SDL's virtual joysticks, act exactly as the
// keys they stand for.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "app/app.h"
#include "app/globals.h"
#include "app/headless_game.h"
#include "app/keys.h"
#include "bus/bus.h"
#include "menus/menu_screen.h"
#include "platform/window.h"
#include "records/stopwatch.h"
#include "support/window_support.h"

namespace {

struct GameState {
    std::int32_t screen, courseCursor, busCursor, gear, watch;
    double speed, steering;
    bool operator==(const GameState& o) const {
        return screen == o.screen && courseCursor == o.courseCursor && busCursor == o.busCursor && gear == o.gear &&
               watch == o.watch && speed == o.speed && steering == o.steering;
    }
};

std::ostream& operator<<(std::ostream& out, const GameState& s) {
    return out << "screen " << s.screen << " cursors " << s.courseCursor << "/" << s.busCursor << " gear " << s.gear
               << " speed " << s.speed << " steering " << s.steering << " watch " << s.watch;
}

GameState Now() {
    return GameState{ScreenState,    menuScreen->CourseCursor, menuScreen->BusCursor, liveBusState.gear,
                     stopwatch->watchState, liveBusState.speed, liveBusState.steering};
}

// A pad input: a button, or an axis pushed to a value.
struct PadInput {
    bool axis;
    int number;
    int value;
};
PadInput Button(int number) { return PadInput{false, number, 1}; }
PadInput Axis(int number, int value) { return PadInput{true, number, value}; }

struct Case {
    std::int32_t screen;
    std::int32_t gear;
    double speed;
    PadInput input;
    int key;  // 0: the button does nothing there
};

class PadKeysTest : public HeadlessObjects {
protected:
    void SetUp() override {
        HeadlessObjects::SetUp();
        window = WindowAccess::CreateHeadless(MainWindowProc, 640, 480);
        ASSERT_TRUE(window);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        pad = std::make_unique<VirtualPad>();
        ASSERT_TRUE(pad->Attached()) << SDL_GetError();
        PumpMessages(*window);
    }
    void TearDown() override {
        pad.reset();
        window.reset();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        HeadlessObjects::TearDown();
    }

    void Prepare(const Case& c) {
        ScreenState = c.screen;
        menuScreen->CourseCursor = 0;  // the practice course, open on a fresh table
        menuScreen->BusCursor = 1;
        liveBusState.gear = c.gear;
        liveBusState.speed = c.speed;
        liveBusState.steering = 0.3;
        stopwatch->Reset();
    }

    // Pushes and lets go of the input, each seen by the window.
    void Use(const PadInput& input) {
        if (input.axis) {
            pad->MoveAxis(input.number, input.value);
        } else {
            pad->Press(input.number);
        }
        PumpMessages(*window);
        if (input.axis) {
            const bool trigger = input.number >= SDL_CONTROLLER_AXIS_TRIGGERLEFT;
            pad->MoveAxis(input.number, trigger ? SDL_JOYSTICK_AXIS_MIN : 0);
        } else {
            pad->Release(input.number);
        }
        PumpMessages(*window);
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<VirtualPad> pad;
};

}  // namespace

TEST_F(PadKeysTest, EachButtonChangesTheGameAsItsKeyDoes) {
    const Case cases[] = {
        {CourseSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_A), VK_RETURN},
        {CourseSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_START), VK_RETURN},
        {CourseSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), VK_DOWN},
        {CourseSelect, 0, 0, Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000), VK_DOWN},
        {CourseSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_B), 0},
        {CourseSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_BACK), 0},
        {BusSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_A), VK_RETURN},
        {BusSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_DPAD_UP), VK_UP},
        {BusSelect, 0, 0, Button(SDL_CONTROLLER_BUTTON_START), VK_RETURN},
        {Driving, 0, 0, Button(SDL_CONTROLLER_BUTTON_DPAD_UP), VK_UP},
        {Driving, 0, 0, Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN), VK_DOWN},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), 'H'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 'L'},
        {Driving, 1, 1.0, Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000), 'H'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), 'J'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), 'K'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_A), 'W'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_X), 'X'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_B), 'Q'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_Y), VK_NUMPAD0 + 5},
        {Driving, 1, 1.0, Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767), 'W'},
        {Driving, 1, 1.0, Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767), 'Q'},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_START), VK_RETURN},
        {Driving, 1, 1.0, Button(SDL_CONTROLLER_BUTTON_GUIDE), 0},
        {Result, 0, 0, Button(SDL_CONTROLLER_BUTTON_START), VK_RETURN},
        {Result, 0, 0, Button(SDL_CONTROLLER_BUTTON_A), 0},  // a gas press as the bus crashes
    };
    for (const Case& c : cases) {
        Prepare(c);
        if (c.key != 0) MainWindowProc(nullptr, WM_KEYDOWN, static_cast<WParam>(c.key), 0);
        const GameState byKey = Now();
        Prepare(c);
        Use(c.input);
        EXPECT_EQ(Now(), byKey) << "screen " << c.screen << (c.input.axis ? " axis " : " button ") << c.input.number;
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PadKeysTest, NoButtonQuitsTheGame) {
    for (std::int32_t screen : {CourseSelect, BusSelect, Driving, Result}) {
        for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
            Prepare(Case{screen, 1, 1.0, Button(button), 0});
            Use(Button(button));
            ASSERT_FALSE(window->IsDestroyed()) << "screen " << screen << " button " << button;
        }
    }
}

// Holding A from the menu into the drive repeats Enter, as a held Enter key would, and not
// the gas that A means on the new screen.
TEST_F(PadKeysTest, AHeldButtonRepeatsTheKeyItPressed) {
    const LParam pad = 3, repeat = LParam{1} << 30, released = static_cast<LParam>(std::uint32_t{3} << 30);
    ScreenState = CourseSelect;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadA, pad);
    ASSERT_EQ(ScreenState, Driving);
    liveBusState.gear = 1;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadA, pad | repeat);
    EXPECT_EQ(ScreenState, CourseSelect);
    EXPECT_EQ(liveBusState.speed, 0.0);

    ScreenState = Driving;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad);
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadX, pad + 1);  // another pad's X
    liveBusState.speed = 2.0;
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad | repeat);
    EXPECT_DOUBLE_EQ(liveBusState.speed, 1.3);
    MainWindowProc(nullptr, WM_PADBUTTONUP, PadB, pad | released);
    MainWindowProc(nullptr, WM_PADBUTTONDOWN, PadB, pad | repeat);  // stray: B is up
    EXPECT_DOUBLE_EQ(liveBusState.speed, 1.3);
}
