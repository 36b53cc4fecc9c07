#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gamepads.h"
#include "platform/window.h"
#include "support/window_support.h"

namespace {

constexpr RepeatTiming kTiming{500, 33};

struct Change {
    int button;
    bool down;
    bool repeat;
};

bool operator==(const Change& a, const Change& b) {
    return a.button == b.button && a.down == b.down && a.repeat == b.repeat;
}

std::ostream& operator<<(std::ostream& out, const Change& c) {
    return out << "{" << c.button << (c.down ? " down" : " up") << (c.repeat ? " repeat" : "") << "}";
}

// One pad at a settable time, collecting what it reports.
class PadLogic : public ::testing::Test {
protected:
    std::vector<Change> Button(int button, bool down) { return Take([&](auto& out) { pad.Button(button, down, now, out); }); }
    std::vector<Change> Axis(int axis, int value) { return Take([&](auto& out) { pad.Axis(axis, value, now, out); }); }
    std::vector<Change> RepeatsAt(std::uint64_t ms) {
        now = ms;
        return Take([&](auto& out) { pad.Repeats(now, out); });
    }

    template <typename Step>
    std::vector<Change> Take(Step step) {
        std::vector<PadButtonEvent> events;
        step(events);
        std::vector<Change> changes;
        for (const auto& e : events) {
            EXPECT_EQ(e.pad, 7);
            changes.push_back(Change{e.button, e.down, e.repeat});
        }
        return changes;
    }

    PadButtons pad{7, kTiming};
    std::uint64_t now = 1000;
};

using Changes = std::vector<Change>;

}  // namespace

TEST_F(PadLogic, ButtonsAreReportedOncePerPressAndRelease) {
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, true), (Changes{{PadA, true, false}}));
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, true), Changes{});
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true), (Changes{{PadLeft, true, false}}));
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_A, false), (Changes{{PadA, false, false}}));
    EXPECT_EQ(Button(SDL_CONTROLLER_BUTTON_START, true), (Changes{{PadStart, true, false}}));
}

TEST_F(PadLogic, TriggersPressFromHalfTravelAndReleaseBelowThreeEighths) {
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 16383), Changes{});
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 16384), (Changes{{PadRightTrigger, true, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767), Changes{});
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 12288), Changes{});  // still held
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 12287), (Changes{{PadRightTrigger, false, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 14000), Changes{});  // not yet again
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 20000), (Changes{{PadLeftTrigger, true, false}}));
    // The right stick and its axes mean nothing.
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767), Changes{});
}

TEST_F(PadLogic, TheLeftStickIsAFourWayPadWithADeadZone) {
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 10000), Changes{});
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000), (Changes{{PadRight, true, false}}));
    // Pushed further down than right: down alone, never both.
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, 25000), (Changes{{PadRight, false, false}, {PadDown, true, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, 13000), (Changes{{PadDown, false, false}, {PadRight, true, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000), (Changes{{PadRight, false, false}, {PadLeft, true, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, 0), Changes{});
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, -12500), Changes{});  // held until below three eighths
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTX, 0), (Changes{{PadLeft, false, false}}));
    EXPECT_EQ(Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768), (Changes{{PadUp, true, false}}));
}

TEST_F(PadLogic, TheButtonPressedLastRepeatsAfterTheDelayAsAKeyDoes) {
    Button(SDL_CONTROLLER_BUTTON_A, true);  // at 1000
    EXPECT_EQ(RepeatsAt(1499), Changes{});
    EXPECT_EQ(RepeatsAt(1500), (Changes{{PadA, true, true}}));
    EXPECT_EQ(RepeatsAt(1532), Changes{});
    EXPECT_EQ(RepeatsAt(1600), (Changes{{PadA, true, true}, {PadA, true, true}, {PadA, true, true}}));

    // A second button takes over; the first stays held but repeats no more.
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);  // at 1600
    EXPECT_EQ(RepeatsAt(2099), Changes{});
    EXPECT_EQ(RepeatsAt(2100), (Changes{{PadLeft, true, true}}));
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(RepeatsAt(3000), Changes{});

    // Repeats missed while the game was held up come as a few, not as a burst.
    Button(SDL_CONTROLLER_BUTTON_B, true);  // at 3000
    EXPECT_EQ(RepeatsAt(20000).size(), 3u);
    EXPECT_EQ(RepeatsAt(20032), Changes{});
    EXPECT_EQ(RepeatsAt(20033).size(), 1u);
    pad.StopRepeating();
    EXPECT_EQ(RepeatsAt(30000), Changes{});
}

TEST_F(PadLogic, TriggersAndTheStickRepeatLikeButtons) {
    Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_EQ(RepeatsAt(1500), (Changes{{PadLeftTrigger, true, true}}));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);  // at 1500
    EXPECT_EQ(RepeatsAt(2000), (Changes{{PadRight, true, true}}));
}

// ---- Real controllers through SDL: its virtual joysticks ----

namespace {
std::vector<Message> messages;

LParam PadRecordingProc(Window* window, std::uint32_t message, WParam wParam, LParam lParam) {
    messages.push_back(Message{message, wParam, lParam});
    return window->DefWindowProc(message, wParam, lParam);
}

class PadWindow : public ::testing::Test {
protected:
    void SetUp() override {
        messages.clear();
        window = WindowAccess::CreateHeadless(PadRecordingProc, 640, 480);
        ASSERT_TRUE(window);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }

    // The pad messages of one pump.
    std::vector<Message> PadMessages() {
        std::vector<Message> pads;
        for (const Message& m : PumpMessages(*window)) {
            if (m.message == WM_PADBUTTONDOWN || m.message == WM_PADBUTTONUP) pads.push_back(m);
        }
        return pads;
    }

    std::unique_ptr<Window> window;
};

constexpr LParam kWasDown = LParam{1} << 30;
constexpr LParam kReleased = static_cast<LParam>(std::uint32_t{1} << 31);
}  // namespace

TEST_F(PadWindow, APadPluggedInWhilePlayingIsReadThroughTheWindowProcedure) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    PadMessages();  // the window opens it
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    pad.MoveAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    pad.MoveAxis(SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MIN);
    auto seen = PadMessages();
    ASSERT_EQ(seen.size(), 3u);
    std::vector<WParam> buttons;
    for (const Message& m : seen) {
        EXPECT_EQ(m.message, WM_PADBUTTONDOWN);
        EXPECT_EQ(m.lParam & (kWasDown | kReleased), 0);
        buttons.push_back(m.wParam);
    }
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons, (std::vector<WParam>{PadA, PadLeft, PadRightTrigger}));
    EXPECT_EQ(messages.size(), 3u);  // handed to the window procedure too

    pad.Release(SDL_CONTROLLER_BUTTON_A);
    seen = PadMessages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_PADBUTTONUP);
    EXPECT_EQ(seen[0].wParam, static_cast<WParam>(PadA));
    EXPECT_EQ(seen[0].lParam & (kWasDown | kReleased), kWasDown | kReleased);
}

TEST_F(PadWindow, SeveralPadsAtOnceEachWithItsOwnNumber) {
    auto first = std::make_unique<VirtualPad>();
    VirtualPad second;
    ASSERT_TRUE(first->Attached() && second.Attached());
    PadMessages();
    first->Press(SDL_CONTROLLER_BUTTON_B);
    second.Press(SDL_CONTROLLER_BUTTON_B);
    auto seen = PadMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].lParam & 0xFFFF, seen[1].lParam & 0xFFFF);

    // Pulling one out leaves the other working.
    first.reset();
    PadMessages();
    second.Press(SDL_CONTROLLER_BUTTON_Y);
    seen = PadMessages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wParam, static_cast<WParam>(PadY));
}

TEST_F(PadWindow, AHeldButtonRepeats) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    PadMessages();
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    ASSERT_EQ(PadMessages().size(), 1u);
    // Half a second (no desktop to ask here), waited for generously.
    std::vector<Message> seen;
    for (int tries = 0; tries < 500 && seen.empty(); ++tries) {
        SDL_Delay(10);
        seen = PadMessages();
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].message, WM_PADBUTTONDOWN);
    EXPECT_EQ(seen[0].wParam, static_cast<WParam>(PadUp));
    EXPECT_EQ(seen[0].lParam & kWasDown, kWasDown);
}
