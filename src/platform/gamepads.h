// Gamepads: every game controller SDL knows (its controller database), plugged in before or
// during play, several at once. Buttons, triggers and the left stick become pad button
// presses and releases, and a held button repeats the way a held key does.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

union SDL_Event;
struct _SDL_GameController;

// How a held button repeats: the keyboard's auto-repeat of the desktop when it is known.
struct RepeatTiming {
    int delayMs = 500;    // from the press to the first repeat
    int intervalMs = 33;  // between repeats: 30 a second
};

struct PadButtonEvent {
    int pad;     // the controller's number while it is plugged in
    int button;  // PadButton
    bool down;
    bool repeat;  // a down that repeats a held button
};

// One pad's buttons, triggers and stick as PadButtons. As on a keyboard, only the button
// pressed last repeats, and releasing it ends the repeating.
class PadButtons {
public:
    PadButtons(int pad, RepeatTiming timing) : pad_(pad), timing_(timing) {}
    // A button in SDL's game controller numbering, which PadButton follows up to PadRight.
    void Button(int button, bool down, std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    // An axis in SDL's game controller numbering, with its value.
    void Axis(int axis, int value, std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    // The repeats of the held button that are due by now.
    void Repeats(std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    // The held button stops repeating until it is pressed again.
    void StopRepeating() { repeating_ = -1; }

private:
    // Inputs: the buttons, then the two triggers, then the stick's four directions.
    static constexpr int kStickUp = 17;
    static constexpr int kInputCount = 21;
    void Change(int input, bool down, std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    void Trigger(int input, int value, std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    void Stick(std::uint64_t nowMs, std::vector<PadButtonEvent>& out);

    int pad_;
    RepeatTiming timing_;
    bool held_[kInputCount] = {};
    int stickX_ = 0;
    int stickY_ = 0;
    int stickInput_ = -1;  // the stick direction held, -1 for none
    int repeating_ = -1;   // the input that repeats, -1 for none
    std::uint64_t nextRepeatMs_ = 0;
};

// Opens every controller SDL reports plugged in and closes it when it is pulled out.
class Gamepads {
public:
    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    void SetRepeatTiming(RepeatTiming timing) { timing_ = timing; }
    // SDL's controller events (plugged, pulled out, buttons, axes); false for any other.
    bool Handle(const SDL_Event& event, std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    void Repeats(std::uint64_t nowMs, std::vector<PadButtonEvent>& out);
    void StopRepeating();
    // How long the window may sleep before it reads the pads again: a frame's time while one
    // is plugged in, so a press is seen by the next frame at the latest, and half a second
    // while none is, so one plugged in while the screen rests is found soon.
    std::int64_t LongestSleepNs() const;

private:
    struct Pad {
        _SDL_GameController* controller;
        PadButtons buttons;
    };
    void Open(int deviceIndex);
    void Close(int instance);
    std::map<int, Pad> pads_;  // by SDL's instance number
    RepeatTiming timing_;
};

// Starts SDL's game controller support; false (said on stderr) when it cannot be had, and
// the game is then played without pads.
bool StartGamepadSupport();
// Reads the pads, plugged and pulled out ones included, into SDL's event queue. SDL does
// not do it by itself (see StartGamepadSupport): the window calls it before it takes its
// events, so a press is seen at the next message or frame, and waiting costs nothing.
void ReadGamepads();
