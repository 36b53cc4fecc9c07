#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gamepads.h"
#include "platform/window.h"
#include "support/window_support.h"

namespace {

// One pad at a settable time; what it reports, as "button+" (down), "button-" (up) and
// "button*" (a repeat).
class PadLogic : public ::testing::Test {
protected:
    std::string Button(int button, bool down) { return Text([&](auto& out) { pad.Button(button, down, now, out); }); }
    std::string Axis(int axis, int value) { return Text([&](auto& out) { pad.Axis(axis, value, now, out); }); }
    std::string RepeatsAt(std::uint64_t ms) {
        now = ms;
        return Text([&](auto& out) { pad.Repeats(now, out); });
    }
    template <typename Step>
    std::string Text(Step step) {
        std::vector<PadButtonEvent> events;
        step(events);
        std::string text;
        for (const auto& e : events) text += std::to_string(e.button) + (e.repeat ? "*" : e.down ? "+" : "-");
        return text;
    }
    PadButtons pad{7, RepeatTiming{500, 33}};
    std::uint64_t now = 1000;
};

}  // namespace

TEST_F(PadLogic, ButtonsTriggersAndTheStickBecomeButtonPresses) {
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, true), "0+");
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, true), "");
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, false), "0-");
    // Triggers: pressed from half travel on, released only below three eighths.
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 16383), "");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 16384), std::to_string(PadRightTrigger) + "+");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 12288), "");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 12287), std::to_string(PadRightTrigger) + "-");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767), "");  // the right stick means nothing
    // The left stick: a four-way D-pad past half travel, the axis pushed further deciding.
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 16000), "");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000), "14+");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, 25000), "14-12+");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, 0), "12-14+");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000), "14-13+");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, -12500), "");
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 0), "13-");
}

TEST_F(PadLogic, OnlyTheButtonPressedLastRepeatsAsWithKeys) {
    Button(SDL_CONTROLLER_BUTTON_A, true);  // at 1000
    EXPECT_EQ(RepeatsAt(1499), "");
    EXPECT_EQ(RepeatsAt(1500), "0*");
    EXPECT_EQ(RepeatsAt(1532), "");
    EXPECT_EQ(RepeatsAt(1600), "0*0*0*");
    Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);  // takes over at 1600
    EXPECT_EQ(RepeatsAt(2099), "");
    EXPECT_EQ(RepeatsAt(2100), std::to_string(PadLeftTrigger) + "*");
    Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    EXPECT_EQ(RepeatsAt(3000), "");  // A is still held, but no longer repeats
    // Repeats missed while the game was held up come as a few, not as a burst.
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(RepeatsAt(20000), "1*1*1*");
    EXPECT_EQ(RepeatsAt(20032), "");
    EXPECT_EQ(RepeatsAt(20033), "1*");
    pad.StopRepeating();
    EXPECT_EQ(RepeatsAt(30000), "");
}

// ---- Real controllers through SDL: its virtual joysticks ----

namespace {
LParam DefaultProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    return window->DefWindowProc(message, wParam, lParam);
}

// The pad messages of one pump, as "button+" and "button-", with the pad's number.
struct PadMessages {
    std::string text;
    std::vector<int> pads;
};

PadMessages Pump(Window& window) {
    PadMessages seen;
    for (const Message& m : PumpMessages(window)) {
        if (m.message != WM_PADBUTTONDOWN && m.message != WM_PADBUTTONUP) continue;
        const bool repeat = m.message == WM_PADBUTTONDOWN && (m.lParam & (LParam{1} << 30));
        seen.text += std::to_string(m.wParam) + (repeat ? "*" : m.message == WM_PADBUTTONDOWN ? "+" : "-");
        seen.pads.push_back(static_cast<int>(m.lParam & 0xFFFF));
    }
    return seen;
}
}  // namespace

TEST(PadWindow, PadsPluggedInWhilePlayingAreReadSeveralAtOnceAndRepeat) {
    auto window = WindowAccess::CreateHeadless(DefaultProc, 640, 480);
    ASSERT_TRUE(window);
    auto first = std::make_unique<VirtualPad>();
    VirtualPad second;
    ASSERT_TRUE(first->Attached() && second.Attached()) << SDL_GetError();
    Pump(*window);  // the window opens them
    first->Press(SDL_CONTROLLER_BUTTON_A);
    const PadMessages fromFirst = Pump(*window);
    second.MoveAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    PadMessages seen = Pump(*window);
    EXPECT_EQ(fromFirst.text, "0+");
    EXPECT_EQ(seen.text, std::to_string(PadRightTrigger) + "+");
    ASSERT_EQ(fromFirst.pads.size() + seen.pads.size(), 2u);
    EXPECT_NE(fromFirst.pads[0], seen.pads[0]);

    // Pulled out, the first is gone; the second still works and its trigger repeats (after
    // half a second here, without a desktop to ask), waited for generously.
    first.reset();
    Pump(*window);
    second.Press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(Pump(*window).text, "11+");
    for (int tries = 0; tries < 500 && seen.text.find('*') == std::string::npos; ++tries) {
        SDL_Delay(10);
        seen = Pump(*window);
    }
    EXPECT_EQ(seen.text, "11*");
    second.Release(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(Pump(*window).text, "11-");
}

namespace {
VirtualPad* padToPress = nullptr;

Uint32 PressA(Uint32, void*) {
    padToPress->Press(SDL_CONTROLLER_BUTTON_A);
    return 0;
}

Uint32 PushEsc(Uint32, void*) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    return 0;
}
}  // namespace

// As a key pressed while the popup menu is open, a pad button pressed then is spent there:
// it must not choose a course or accelerate once the menu has closed.
TEST(PadWindow, AButtonPressedWhileThePopupMenuIsOpenIsSpentThere) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    auto window = Window::Create(DefaultProc, "QuonfelTest", "テスト", 0, 0, 640, 480);
    ASSERT_TRUE(window);
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    PumpMessages(*window);
    padToPress = &pad;
    SDL_AddTimer(200, PressA, nullptr);
    SDL_AddTimer(600, PushEsc, nullptr);
    EXPECT_EQ(window->TrackPopupMenu({{"a", 1, false}, {"b", 2, false}}, Point{100, 100}), 0);
    for (const Message& m : PumpMessages(*window)) EXPECT_NE(m.message, WM_PADBUTTONDOWN);
}
