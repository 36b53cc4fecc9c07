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
    // The same clock in nanoseconds; a clock without a finer reading gives its whole seconds.
    virtual std::int64_t WallNanoseconds() { return WallSeconds() * 1000000000; }
};

// The clock in use: the system's, unless a test set its own.
ClockSource& Clock();
void SetClockForTest(ClockSource* clock);  // null restores the system clock

// A clock set by hand, the clock in use while the object lives: the tests' clock, and the
// headless game's, whose drives read the same on every run.
class FakeClock : public ClockSource {
public:
    FakeClock();
    ~FakeClock() override;
    bool PerformanceFrequency(std::int64_t& ticksPerSecond) override;
    std::int64_t PerformanceCounter() override { return counter; }
    std::uint32_t MillisecondClock() override { return millis; }
    std::int64_t WallSeconds() override { return wallSeconds; }

    bool hasHighResolution = true;
    std::int64_t frequency = 3000000;
    std::int64_t counter = 0;
    std::uint32_t millis = 0;
    std::int64_t wallSeconds = 1700000000;
};
