// The clocks: a high-resolution counter, a millisecond clock and the wall clock.
#pragma once
#include <cstdint>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    // False when there is no high-resolution counter.
    virtual bool PerformanceFrequency(std::int64_t& ticksPerSecond) = 0;
    virtual std::int64_t PerformanceCounter() = 0;
    virtual std::uint32_t MillisecondClock() = 0;
    // Whole seconds since 1970-01-01 UTC.
    virtual std::int64_t WallSeconds() = 0;
};

// The clock in use: the system's, unless a test set its own.
ClockSource& Clock();
void SetClockForTest(ClockSource* clock);  // null restores the system clock
