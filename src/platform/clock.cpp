// Placeholder; replaced by the platform layer's implementation.
#include "platform/clock.h"
#include <ctime>
namespace {
class NullClock : public ClockSource {
public:
    bool PerformanceFrequency(std::int64_t& f) override { f = 1000; return true; }
    std::int64_t PerformanceCounter() override { return 0; }
    std::uint32_t MillisecondClock() override { return 0; }
    std::int64_t WallSeconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};
NullClock systemClock;
ClockSource* current = &systemClock;
}  // namespace
ClockSource& Clock() { return *current; }
void SetClockForTest(ClockSource* clock) { current = clock ? clock : &systemClock; }
