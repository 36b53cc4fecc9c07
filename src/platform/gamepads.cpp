#include "platform/gamepads.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/messages.h"
#include "platform/printable.h"

namespace {
constexpr int kTriggerLeftInput = PadLeftTrigger;
// A trigger or the stick counts as pressed from half its travel on, and as released again
// only below three eighths, so a hand resting near the middle does not chatter.
constexpr int kPressedFrom = 16384;
constexpr int kReleasedBelow = 12288;
// A loop that was held up (a dialog was open) gets a few repeats, not a burst.
constexpr int kMostRepeatsAtOnce = 3;

int ReportedButton(int input) { return input < PadButtonCount ? input : PadUp + (input - PadButtonCount); }

// Whether an axis value counts as pressed, given whether it counted so far.
bool Pressed(int magnitude, bool wasPressed) {
    return magnitude >= (wasPressed ? kReleasedBelow : kPressedFrom);
}
}  // namespace

void PadButtons::Change(int input, bool down, std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    if (held_[input] == down) return;
    held_[input] = down;
    out.push_back(PadButtonEvent{pad_, ReportedButton(input), down, false});
    if (down) {
        repeating_ = input;
        nextRepeatMs_ = nowMs + static_cast<std::uint64_t>(timing_.delayMs);
    } else if (repeating_ == input) {
        repeating_ = -1;
    }
}

void PadButtons::Button(int button, bool down, std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    if (button >= 0 && button < kTriggerLeftInput) Change(button, down, nowMs, out);
}

void PadButtons::Trigger(int input, int value, std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    Change(input, Pressed(value, held_[input]), nowMs, out);
}

// The stick acts as a four-way D-pad: the axis pushed further decides, so a diagonal push
// never works two directions at once (steering does not shift the gear).
void PadButtons::Stick(std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    const bool across = std::abs(stickX_) > std::abs(stickY_);
    const int value = across ? stickX_ : stickY_;
    const int direction = kStickUp + (across ? (value < 0 ? 2 : 3) : (value < 0 ? 0 : 1));
    const int held = Pressed(std::abs(value), direction == stickInput_) ? direction : -1;
    if (held == stickInput_) return;
    if (stickInput_ >= 0) Change(stickInput_, false, nowMs, out);
    if (held >= 0) Change(held, true, nowMs, out);
    stickInput_ = held;
}

void PadButtons::Axis(int axis, int value, std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        stickX_ = value;
        Stick(nowMs, out);
        break;
    case SDL_CONTROLLER_AXIS_LEFTY:
        stickY_ = value;
        Stick(nowMs, out);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        Trigger(PadLeftTrigger, value, nowMs, out);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        Trigger(PadRightTrigger, value, nowMs, out);
        break;
    default:
        break;
    }
}

void PadButtons::Repeats(std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    if (repeating_ < 0) return;
    for (int n = 0; n < kMostRepeatsAtOnce && nextRepeatMs_ <= nowMs; ++n) {
        out.push_back(PadButtonEvent{pad_, ReportedButton(repeating_), true, true});
        nextRepeatMs_ += static_cast<std::uint64_t>(timing_.intervalMs);
    }
    if (nextRepeatMs_ <= nowMs) nextRepeatMs_ = nowMs + static_cast<std::uint64_t>(timing_.intervalMs);
}

// ---- The controllers themselves ----

Gamepads::~Gamepads() {
    for (auto& entry : pads_) SDL_GameControllerClose(entry.second.controller);
}

void Gamepads::Open(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const int instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pads_.count(instance) != 0) {
        SDL_GameControllerClose(controller);  // already open: SDL counts the second opening
        return;
    }
    pads_.emplace(instance, Pad{controller, PadButtons(instance & 0xFFFF, timing_)});
}

void Gamepads::Close(int instance) {
    const auto found = pads_.find(instance);
    if (found == pads_.end()) return;
    SDL_GameControllerClose(found->second.controller);
    pads_.erase(found);
}

bool Gamepads::Handle(const SDL_Event& event, std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const auto found = pads_.find(event.cbutton.which);
        if (found != pads_.end())
            found->second.buttons.Button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, nowMs, out);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        const auto found = pads_.find(event.caxis.which);
        if (found != pads_.end()) found->second.buttons.Axis(event.caxis.axis, event.caxis.value, nowMs, out);
        return true;
    }
    default:
        return false;
    }
}

void Gamepads::Repeats(std::uint64_t nowMs, std::vector<PadButtonEvent>& out) {
    for (auto& entry : pads_) entry.second.buttons.Repeats(nowMs, out);
}

std::int64_t Gamepads::LongestSleepNs() const {
    constexpr std::int64_t kFrameNs = 1000000000 / 30;
    constexpr std::int64_t kLookForPadsNs = 500000000;
    return pads_.empty() ? kLookForPadsNs : kFrameNs;
}

void Gamepads::StopRepeating() {
    for (auto& entry : pads_) entry.second.buttons.StopRepeating();
}

bool StartGamepadSupport() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
    // SDL would read the pads on every pump of its events, and while one is plugged in its
    // wait for events would wake every millisecond to do so; the window reads them itself.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) return true;
    std::fprintf(stderr, "quonfel: gamepads cannot be used: %s\n", Printable(SDL_GetError()).c_str());
    return false;
}

// With no pad plugged in, a read only looks for a new one (two polls of the system's device
// lists); five times a second finds it soon enough.
void ReadGamepads() {
    constexpr std::uint64_t kPadLookIntervalMs = 200;
    static std::uint64_t lastReadMs = 0;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
    const std::uint64_t now = SDL_GetTicks64();
    if (SDL_NumJoysticks() == 0 && lastReadMs != 0 && now - lastReadMs < kPadLookIntervalMs) return;
    lastReadMs = now;
    SDL_GameControllerUpdate();
}
