// The system clocks: the monotonic clock in nanoseconds stands in for the high-resolution
// counter, and the same clock in milliseconds for the fallback.
#include "platform/clock.h"

#include <ctime>

namespace {

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class SystemClock : public ClockSource {
public:
    bool PerformanceFrequency(std::int64_t& ticksPerSecond) override {
        ticksPerSecond = 1000000000;
        return true;
    }
    std::int64_t PerformanceCounter() override { return MonotonicNanoseconds(); }
    // Wraps after about 49 days, as a 32-bit millisecond count does.
    std::uint32_t MillisecondClock() override {
        return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1000000);
    }
    std::int64_t WallSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
    std::int64_t WallNanoseconds() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
};

SystemClock systemClock;
ClockSource* current = &systemClock;

}  // namespace

ClockSource& Clock() { return *current; }

void SetClockForTest(ClockSource* clock) { current = clock ? clock : &systemClock; }

FakeClock::FakeClock() { SetClockForTest(this); }
FakeClock::~FakeClock() { SetClockForTest(nullptr); }

bool FakeClock::PerformanceFrequency(std::int64_t& ticksPerSecond) {
    ticksPerSecond = frequency;
    return hasHighResolution;
}
