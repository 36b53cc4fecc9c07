#include <algorithm>

#include "app/app.h"

namespace {
constexpr int kFramesPerSecond = 30;
constexpr std::int64_t kMillisecondInterval = 33;
// A wait for the next deadline lasts at most this long even if a clock misbehaves (a wrapped
// millisecond clock would otherwise put the deadline weeks away).
constexpr std::int64_t kLongestWaitNs = 100000000;
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
}  // namespace

FramePacer::FramePacer(ClockSource& clock) : clock_(clock) {
    std::int64_t frequency = 0;
    highResolution_ = clock_.PerformanceFrequency(frequency) && frequency > 0;
    if (highResolution_) {
        frequency_ = frequency;
        // The interval is kept as a 32-bit tick count.
        interval_ = static_cast<std::uint32_t>(frequency / kFramesPerSecond);
    } else {
        frequency_ = 1000;
        interval_ = kMillisecondInterval;
    }
    nextFrameTime_ = Now();
}

std::int64_t FramePacer::Now() {
    if (highResolution_) return clock_.PerformanceCounter();
    return static_cast<std::int64_t>(clock_.MillisecondClock());
}

bool FramePacer::FrameDue() {
    const std::int64_t now = Now();
    if (now <= nextFrameTime_) return false;
    // Counted from this reading, so a late frame is never made up.
    nextFrameTime_ = now + interval_;
    return true;
}

std::int64_t FramePacer::NanosecondsToDeadline() {
    // A frame needs the clock strictly past the deadline: one tick more.
    const std::int64_t ticksLeft = nextFrameTime_ + 1 - Now();
    if (ticksLeft <= 0) return 0;
    // Rounded up, so the wait never ends before that tick; in 128 bits, so that no counter
    // frequency overflows.
    const auto ns = (static_cast<__int128>(ticksLeft) * kNanosecondsPerSecond + frequency_ - 1) / frequency_;
    return static_cast<std::int64_t>(std::min<__int128>(ns, kLongestWaitNs));
}
