// The stopwatch: driving time and penalty time in whole wall-clock seconds.
#pragma once
#include <cstdint>

enum WatchState { Idle = 0, Running = 1, Stopped = 2 };

// Each wall-clock second of a running penalty clock costs this many seconds.
constexpr int PenaltyFactor = 60;

// Every time text is eight characters and a terminating zero.
constexpr int TimeTextSize = 9;

// "%02d:%02d:%02d" of the UTC breakdown of the seconds (whole days dropped).
void FormatTimeText(std::int64_t seconds, char* text);

class Stopwatch {
public:
    Stopwatch();
    virtual ~Stopwatch();

    std::int32_t penaltyStart = 0;
    std::int32_t driveTime = 0;
    std::int32_t penaltyRunning = 0;
    std::int32_t penaltyTime = 0;
    std::int32_t startTime = 0;
    std::int32_t watchState = Idle;

    void Reset();
    void Start();
    // The game's pauses: from Pause to Resume the clock of every reading stands still, so that
    // time spent paused counts in neither the driving nor the penalty time. Reset forgets them.
    void Pause();
    void Resume();
    void Stop();
    void StartPenalty();
    void StopPenalty();
    // The driving and penalty seconds as the driving screen shows them now: a running clock
    // counts up to this second.
    std::int64_t DriveSecondsShown();
    std::int64_t PenaltySecondsShown();
    void FormatDriveTime(char* text);
    void FormatPenaltyTime(char* text);
    void FormatTotalTime(char* text);
    std::int32_t TotalSeconds();
    void FormatBestTime(int courseIndex, char* text);
};
