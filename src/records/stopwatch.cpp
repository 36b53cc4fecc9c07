// The stopwatch: driving time and penalty time in whole wall-clock seconds.
#include "records/stopwatch.h"

#include <cstdio>
#include <ctime>

#include "platform/clock.h"
#include "records/score_table.h"
#include "shared/globals.h"

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

// The pauses of the drive: their length so far, and while one lasts, the wall clock and the
// steady clock as it began.
struct Pauses {
    std::int64_t total = 0;  // nanoseconds
    bool on = false;
    std::int64_t wallAtStart = 0;
    std::int64_t steadyAtStart = 0;
};
Pauses pauses;

// A steady reading in nanoseconds, which a wall clock set during a pause does not move.
std::int64_t SteadyNanoseconds() {
    std::int64_t frequency = 0;
    if (Clock().PerformanceFrequency(frequency) && frequency > 0)
        return static_cast<std::int64_t>(static_cast<__int128>(Clock().PerformanceCounter()) * kNanosecondsPerSecond / frequency);
    return static_cast<std::int64_t>(Clock().MillisecondClock()) * 1000000;
}

std::int64_t FloorSeconds(std::int64_t nanoseconds) {
    const std::int64_t seconds = nanoseconds / kNanosecondsPerSecond;
    return nanoseconds % kNanosecondsPerSecond < 0 ? seconds - 1 : seconds;
}

// The wall clock in whole seconds, as if the pauses had never been: unpaused, exactly the
// wall clock.
std::int32_t Now() {
    if (!pauses.on && pauses.total == 0) return static_cast<std::int32_t>(Clock().WallSeconds());
    const std::int64_t wall = pauses.on ? pauses.wallAtStart : Clock().WallNanoseconds();
    return static_cast<std::int32_t>(FloorSeconds(wall - pauses.total));
}

// Seconds from an earlier reading to now. A clock set back since then gives 0, never a
// negative duration.
std::int64_t SecondsSince(std::int32_t earlier) {
    const std::int64_t elapsed = static_cast<std::int64_t>(Now()) - earlier;
    return elapsed > 0 ? elapsed : 0;
}

bool ValidCourse(int courseIndex) { return courseIndex >= 0 && courseIndex < RecordsPerSet; }
bool ValidSet(int set) { return set >= 0 && set < MaxRecordSets; }

}  // namespace

void FormatTimeText(std::int64_t seconds, char* text) {
    const std::time_t moment = static_cast<std::time_t>(seconds > 0 ? seconds : 0);
    std::tm utc{};
    if (!gmtime_r(&moment, &utc)) utc = std::tm{};
    std::snprintf(text, TimeTextSize, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
}

Stopwatch::Stopwatch() { Reset(); }

Stopwatch::~Stopwatch() = default;

void Stopwatch::Reset() {
    penaltyStart = 0;
    driveTime = 0;
    penaltyRunning = 0;
    penaltyTime = 0;
    startTime = 0;
    watchState = Idle;
    pauses = Pauses{};
}

void Stopwatch::Pause() {
    if (pauses.on) return;
    pauses.wallAtStart = Clock().WallNanoseconds();
    pauses.steadyAtStart = SteadyNanoseconds();
    pauses.on = true;
}

void Stopwatch::Resume() {
    if (!pauses.on) return;
    const std::int64_t paused = SteadyNanoseconds() - pauses.steadyAtStart;
    // A millisecond clock that wrapped during the pause counts it as nothing.
    if (paused > 0) pauses.total += paused;
    pauses.on = false;
}

// Only the first driving key of a drive starts the watch.
void Stopwatch::Start() {
    if (watchState == Running || watchState == Stopped) return;
    startTime = Now();
    watchState = Running;
    penaltyTime = 0;
}

void Stopwatch::Stop() {
    watchState = Stopped;
    driveTime = static_cast<std::int32_t>(SecondsSince(startTime));
}

// Called in every frame with a violation; a running penalty clock keeps its first second.
void Stopwatch::StartPenalty() {
    if (penaltyRunning == 1) return;
    penaltyStart = Now();
    penaltyRunning = 1;
}

void Stopwatch::StopPenalty() {
    if (penaltyRunning == 0) return;
    penaltyRunning = 0;
    penaltyTime = static_cast<std::int32_t>(penaltyTime + SecondsSince(penaltyStart) * PenaltyFactor);
}

std::int64_t Stopwatch::DriveSecondsShown() {
    switch (watchState) {
        case Running: return SecondsSince(startTime);
        case Stopped: return driveTime;
        default: return 0;
    }
}

std::int64_t Stopwatch::PenaltySecondsShown() {
    std::int64_t shown = penaltyTime;
    if (penaltyRunning != 0) shown += SecondsSince(penaltyStart) * PenaltyFactor;
    return shown;
}

void Stopwatch::FormatDriveTime(char* text) { FormatTimeText(DriveSecondsShown(), text); }

void Stopwatch::FormatPenaltyTime(char* text) { FormatTimeText(PenaltySecondsShown(), text); }

void Stopwatch::FormatTotalTime(char* text) {
    FormatTimeText(static_cast<std::int64_t>(penaltyTime) + driveTime, text);
}

std::int32_t Stopwatch::TotalSeconds() {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(penaltyTime) + driveTime);
}

// A course or record set the table does not hold shows no time.
void Stopwatch::FormatBestTime(int courseIndex, char* text) {
    std::int64_t best = 0;
    if (scoreTable && ValidCourse(courseIndex) && ValidSet(scoreTable->currentSet)) {
        best = scoreTable->records[scoreTable->currentSet][courseIndex].bestTime;
    }
    FormatTimeText(best, text);
}
