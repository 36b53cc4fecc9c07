// The synthesis heard through a small spectrum analysis: what each sound is, when it sounds,
// and that nothing clicks or clips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound/synth.h"

namespace {
constexpr int kRate = 48000;
constexpr int kFrame = kRate / 30;  // samples per driving frame
constexpr double kLaneHz[] = {988, 784}, kWallHz = 587, kChimeHz = 1568;

// The amplitude of the component at hz in a stretch of samples (Goertzel).
double Level(const std::vector<float>& s, std::size_t begin, std::size_t count, double hz) {
    const double w = 2 * M_PI * hz / kRate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = begin; i < begin + count; ++i) {
        const double s0 = s[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2)) / count;
}

// The strongest frequency from 30 to 400 Hz, in steps of 1 Hz.
double DominantHz(const std::vector<float>& s, std::size_t begin, std::size_t count) {
    double best = 0, bestLevel = -1;
    for (double hz = 30; hz <= 400; hz += 1) {
        const double level = Level(s, begin, count, hz);
        if (level > bestLevel) bestLevel = level, best = hz;
    }
    return best;
}

double Peak(const std::vector<float>& s, std::size_t begin = 0) {
    double peak = 0;
    for (std::size_t i = begin; i < s.size(); ++i) peak = std::max(peak, std::fabs(double(s[i])));
    return peak;
}

// The game's side: driving frames told 30 times a second, cues, and what the synth made.
struct Listener {
    SoundControls controls;
    Synth synth{kRate};
    std::vector<float> heard;
    std::int64_t second = 1000;

    // In buffers of 512 samples, as the device asks for them.
    void Render(int samples) {
        for (int done = 0; done < samples; done += 512) {
            const int buffer = std::min(512, samples - done);
            heard.resize(heard.size() + buffer);
            synth.Render(controls, heard.data() + heard.size() - buffer, buffer);
        }
    }
    void Frames(int count, double speed, int gear, int warnings = 0, int samples = kFrame) {
        for (int i = 0; i < count; ++i) {
            controls.speed = static_cast<float>(speed);
            controls.gear = gear;
            controls.warnings = warnings;
            controls.second = second;
            ++controls.drivingFrames;
            Render(samples);
        }
    }
    void Cue(SoundCue cue) { ++controls.cues[static_cast<int>(cue)]; }
    std::size_t FrameStart(int frame) const { return static_cast<std::size_t>(frame) * kFrame; }
};
}  // namespace

TEST(SynthTest, TheEngineNoteRisesWithSpeedIdlesInNeutralAndSitsLowerInReverse) {
    const struct {
        int gear;
        double speed;
    } rows[] = {{-1, 2.0}, {-1, 0.0}, {0, 0.0}, {1, 1.0}, {1, 2.0}, {1, 4.0}, {1, 8.0}};
    double lastHz = 0, lastLevel = 0;
    for (const auto& row : rows) {
        Listener ear;
        ear.Frames(30, row.speed, row.gear);
        const double hz = DominantHz(ear.heard, ear.FrameStart(22), 8 * kFrame);
        EXPECT_NEAR(hz, EngineHz(row.speed, row.gear), EngineHz(row.speed, row.gear) * 0.03)
            << "gear " << row.gear << ", speed " << row.speed;
        const double level = Level(ear.heard, ear.FrameStart(22), 8 * kFrame, hz);
        if (row.gear == 1) {
            EXPECT_GT(hz, lastHz) << "speed " << row.speed;
            EXPECT_GE(level, lastLevel * 0.95) << "speed " << row.speed;
        }
        lastHz = hz, lastLevel = level;
    }
    for (double speed : {0.0, 2.0}) EXPECT_LT(EngineHz(speed, -1), EngineHz(speed, 1));
}

// Drives told frame by frame: idle, a sudden burst of speed, the wrong lane across a penalty
// second, the wall until the drive is given up (the frames stop); then a new drive, a brake,
// the goal, and no more frames.
TEST(SynthTest, ADriveSoundsItsWarningsOnlyWhileARuleIsBrokenAndChimesAtTheGoal) {
    Listener ear;
    ear.Frames(30, 0, 0);
    ear.Frames(30, 8, 1);  // frames 30 to 59: the speed jumps at once
    ear.Frames(10, 8, 1, WarnWrongLane);  // 60 to 69, then a new wall-clock second at 70
    ear.second++;
    ear.Frames(30, 8, 1, WarnWrongLane);  // 70 to 99
    ear.Frames(30, 8, 1);                 // 100 to 129
    ear.Frames(30, 8, 1, WarnWallContact);  // 130 to 159
    ear.Render(15 * kFrame);                // 160 to 174: back on the menu
    ear.Cue(SoundCue::Brake);
    ear.Frames(30, 0, 1);  // 175 to 204
    ear.Cue(SoundCue::GoalIn);
    ear.Render(45 * kFrame);  // 205 to 249: the result screen

    // No click when the engine jumps from idle to speed: the note glides.
    double largestStep = 0;
    for (std::size_t i = ear.FrameStart(29); i < ear.FrameStart(40); ++i)
        largestStep = std::max(largestStep, std::fabs(double(ear.heard[i]) - ear.heard[i - 1]));
    EXPECT_LT(largestStep, 0.03);
    EXPECT_LT(DominantHz(ear.heard, ear.FrameStart(30), 3 * kFrame), DominantHz(ear.heard, ear.FrameStart(50), 8 * kFrame));

    // A warning tone is 0.05 or more at this volume; the engine's harmonics stay below 0.015.
    const double kQuiet = 0.02, kHeard = 0.04;
    for (int frame = 0; frame < 250; ++frame) {
        const std::size_t at = ear.FrameStart(frame);
        const bool lane = frame >= 60 && frame < 100, wall = frame >= 130 && frame < 167;
        const double laneLevel = std::max(Level(ear.heard, at, kFrame, kLaneHz[0]), Level(ear.heard, at, kFrame, kLaneHz[1]));
        const double wallLevel = Level(ear.heard, at, kFrame, kWallHz);
        if (!lane) {
            EXPECT_LT(laneLevel, kQuiet) << "frame " << frame;
        }
        if (!wall) {  // frames that stop coming stop everything within 0.2 s
            EXPECT_LT(wallLevel, kQuiet) << "frame " << frame;
        }
        if ((frame >= 168 && frame < 175) || frame >= 211) {  // the engine has died away
            EXPECT_LT(Level(ear.heard, at, kFrame, EngineHz(0, 1)), kQuiet / 10) << "frame " << frame;
        }
    }
    // Each rhythm starts with the rule broken, and starts again as the penalty clock counts on.
    for (int frame : {60, 70}) EXPECT_GT(Level(ear.heard, ear.FrameStart(frame) + 300, kFrame, kLaneHz[0]), kHeard);
    EXPECT_LT(Level(ear.heard, ear.FrameStart(68), kFrame, kLaneHz[0]), kQuiet);
    EXPECT_GT(Level(ear.heard, ear.FrameStart(130), kFrame, kWallHz), kHeard);
    // The chime's top note follows the goal within a third of a second.
    EXPECT_LT(Level(ear.heard, ear.FrameStart(201), 3 * kFrame, kChimeHz), kQuiet);
    EXPECT_GT(Level(ear.heard, ear.FrameStart(214), 3 * kFrame, kChimeHz), kHeard);
    EXPECT_LT(Peak(ear.heard), 0.8);
}

// Every cue again and again, over both warnings at full speed: more than the mix has room for
// (0.84 here), which the limiter turns down.
TEST(SynthTest, APileUpOfEverySoundAtFullVolumeNeverClipsAndVolumeZeroIsSilent) {
    for (int volume : {100, 0}) {
        Listener ear;
        ear.controls.volume = volume;
        for (int buffer = 0; buffer < 100; ++buffer) {
            for (int cue = 0; cue < kSoundCueCount && buffer % 2 == 0; ++cue) ear.Cue(static_cast<SoundCue>(cue));
            ear.Frames(1, 30, 1, WarnWrongLane | WarnWallContact, 512);
        }
        if (volume == 0) {
            EXPECT_EQ(Peak(ear.heard), 0.0);
        } else {
            EXPECT_LE(Peak(ear.heard), 0.8 + 1e-6);
            EXPECT_GT(Peak(ear.heard), 0.7);  // everything really sounded
        }
    }
}
