// The display connection and a timer set to an absolute moment, watched together with ppoll.
// SDL's own wait ends on whole milliseconds, and the kernel gives any poll timeout a slack of
// 0.1 % (33 microseconds for a frame); a timer has none. Waking still takes time (about a
// tenth of a millisecond on a virtual machine), and a late frame is never made up, so the
// timer is set as much earlier as recent wakes came late, and the few microseconds that are
// left are spun. Further descriptors (other input devices) can join the watched set.
// Kept apart from window.cpp: the X11 headers name types Window and Font too.
#include "platform/input_wait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <errno.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;
// A wake never starts more than this early: the spin stays short even after a slow wake.
constexpr std::int64_t kLongestEarlyWakeNs = 250000;

std::int64_t MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

timespec ToTimespec(std::int64_t nanoseconds) {
    return timespec{static_cast<time_t>(nanoseconds / kNanosecondsPerSecond),
                    static_cast<long>(nanoseconds % kNanosecondsPerSecond)};
}

Display* XDisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

std::int64_t TypicalDelay(const WakeDelays& delays) {
    std::int64_t sorted[WakeDelays::kCount];
    std::copy(std::begin(delays.recentNs), std::end(delays.recentNs), sorted);
    std::nth_element(sorted, sorted + WakeDelays::kCount / 2, sorted + WakeDelays::kCount);
    return std::min(sorted[WakeDelays::kCount / 2], kLongestEarlyWakeNs);
}

void NoteDelay(WakeDelays& delays, std::int64_t delayNs) {
    delays.recentNs[delays.next] = std::max<std::int64_t>(delayNs, 0);
    delays.next = (delays.next + 1) % WakeDelays::kCount;
}

// Sleeps until the display has something (input, or the connection is gone) or the timer,
// if set (timerAt >= 0), runs out. True when it was the timer alone.
bool PollDisplayAndTimer(const InputWait& wait, std::int64_t timerAt) {
    pollfd watched[] = {{wait.displayFd, POLLIN, 0}, {wait.timerFd, POLLIN, 0}};
    int count = 1;
    if (timerAt >= 0) {
        itimerspec at{};
        at.it_value = ToTimespec(timerAt);
        if (timerfd_settime(wait.timerFd, TFD_TIMER_ABSTIME, &at, nullptr) == 0) count = 2;
    }
    // A signal ends the sleep too, and the caller looks again.
    if (ppoll(watched, count, nullptr, nullptr) <= 0) return false;
    return watched[0].revents == 0 && (watched[1].revents & POLLIN) != 0;
}

void WaitForDisplayOrTimer(InputWait& wait, std::int64_t timeoutNs) {
    if (timeoutNs < 0) {
        PollDisplayAndTimer(wait, -1);
        return;
    }
    const std::int64_t end = MonotonicNow() + timeoutNs;
    const std::int64_t timerAt = end - std::min(TypicalDelay(wait.delays), timeoutNs);
    if (!PollDisplayAndTimer(wait, timerAt)) return;
    wait.endedByTimerAlone = true;
    NoteDelay(wait.delays, MonotonicNow() - timerAt);
    while (MonotonicNow() < end) {
    }
}

// Without a display connection to watch (a window without a display, another video driver):
// SDL's own wait for the whole milliseconds, then a sleep to the end.
void WaitWithoutDisplay(std::int64_t timeoutNs) {
    if (timeoutNs < 0) {
        SDL_WaitEvent(nullptr);
        return;
    }
    const std::int64_t end = MonotonicNow() + timeoutNs;
    const auto wholeMilliseconds = static_cast<int>(timeoutNs / kNanosecondsPerMillisecond);
    if (wholeMilliseconds > 0 && SDL_WaitEventTimeout(nullptr, wholeMilliseconds)) return;
    const timespec at = ToTimespec(end);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

}  // namespace

InputWait OpenInputWait(SDL_Window* window) {
    InputWait wait;
    Display* display = XDisplayOf(window);
    if (!display) return wait;
    wait.display = display;
    wait.displayFd = ConnectionNumber(display);
    wait.timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    return wait;
}

void CloseInputWait(InputWait& wait) {
    if (wait.timerFd >= 0) close(wait.timerFd);
    wait = InputWait{};
}

void WaitForInputOrTimeout(InputWait& wait, std::int64_t timeoutNs) {
    wait.endedByTimerAlone = false;
    if (timeoutNs == 0 || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
    if (wait.display && wait.timerFd >= 0) {
        // Events read from the connection already would not wake the poll: those in Xlib's
        // queue, and those that a wait for a reply (the present's XSync) left in XCB's, which
        // only this moves into Xlib's queue. Missed, a key could wait for the next event.
        if (XEventsQueued(static_cast<Display*>(wait.display), QueuedAfterReading) > 0) return;
        WaitForDisplayOrTimer(wait, timeoutNs);
    } else {
        WaitWithoutDisplay(timeoutNs);
    }
}
