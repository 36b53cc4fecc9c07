// The frame loop's sleep: until input arrives or a moment comes, waking within microseconds
// of either.
#pragma once
#include <cstdint>

struct SDL_Window;

// How late the recent wakes came after the moment their timer was set to.
struct WakeDelays {
    static constexpr int kCount = 9;
    std::int64_t recentNs[kCount] = {};
    int next = 0;
};

// What a wait watches: the window's display connection for input, and a timer for its end.
// A descriptor that could not be had is -1.
struct InputWait {
    int displayFd = -1;
    int timerFd = -1;
    void* display = nullptr;  // Xlib's connection, to see events it has read already
    WakeDelays delays;
    // The last wait slept until its timer with nothing on the display: no input can be
    // waiting that the wait would have seen.
    bool endedByTimerAlone = false;
};

InputWait OpenInputWait(SDL_Window* window);
void CloseInputWait(InputWait& wait);
// Sleeps until the display has input or timeoutNs nanoseconds have passed; a negative
// timeout waits for input alone. Returns at once when events wait in SDL's or Xlib's queue.
// Sets wait.endedByTimerAlone.
void WaitForInputOrTimeout(InputWait& wait, std::int64_t timeoutNs);
