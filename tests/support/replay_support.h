// A drive's keys played through the real game, headless, as the frame loop would run them.
// For the test programs that link the map tool's drive library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/score_table.h"
#include "replays/drive_keys.h"

struct ReplayOutcome {
    bool started = false;
    bool goal = false;
    bool stillDriving = false;
    long frames = 0;
    long violationFrames = 0;
    std::int32_t drivingSeconds = 0;
    std::int32_t penaltySeconds = 0;
    std::int32_t courseState = Locked;
    std::int32_t nextCourseState = Locked;
    bool scoreFileWritten = false;
    std::size_t boxes = 0;
};

// Plain pictures for every bitmap the game loads that the current folder lacks: the rules
// never read pixels, so a drive needs none of the real ones.
void WriteStandInPictures();

// Plays presses on course ("N.map" in the current folder, which also gets stand-ins for the
// pictures it lacks) with a bus type from the course menu; the stopwatch's seconds follow the
// frames.
ReplayOutcome Replay(int course, int busType, const std::vector<KeyPress>& presses);
