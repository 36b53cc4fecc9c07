// The synthesis heard through a small spectrum analysis: what each sound is, when it sounds,
// and that nothing clicks or clips.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/audio.h"
#include "sound/sound.h"
#include "sound/synth.h"
#include "support/test_support.h"

namespace {
constexpr int kRate = 48000;
constexpr int kFrame = kRate / 30;  // samples per driving frame
constexpr double kLaneHz[] = {988, 784}, kWallHz = 587, kChimeHz = 1568;

// The amplitude of the component at hz in a stretch of samples (Goertzel).
double Level(const std::vector<float>& s, std::size_t begin, std::size_t count, double hz, int rate = kRate) {
    const double w = 2 * M_PI * hz / rate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = begin; i < begin + count; ++i) {
        const double s0 = s[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2)) / count;
}

// The strongest frequency from 30 to 400 Hz, found in steps of 1 Hz, then of 0.05 Hz.
double DominantHz(const std::vector<float>& s, std::size_t begin, std::size_t count) {
    double best = 0, bestLevel = -1;
    const auto tryHz = [&](double hz) {
        const double level = Level(s, begin, count, hz);
        if (level > bestLevel) bestLevel = level, best = hz;
    };
    for (double hz = 30; hz <= 400; hz += 1) tryHz(hz);
    const double coarse = best;
    for (double hz = coarse - 1; hz <= coarse + 1; hz += 0.05) tryHz(hz);
    return best;
}

// How much the samples change from one to the next (root mean square): high for the hiss,
// next to nothing for the engine's low note.
double Roughness(const std::vector<float>& s, std::size_t begin, std::size_t count) {
    double sum = 0;
    for (std::size_t i = begin; i < begin + count; ++i) sum += (s[i] - s[i - 1]) * (s[i] - s[i - 1]);
    return std::sqrt(sum / count);
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

// A sound card that runs at a rate of its own, whatever the game asks for: SDL's dummy device
// plays silence, and the test takes the game's samples itself.
int cardRate = 0;
SDL_AudioCallback gameFill = nullptr;
void* gameUser = nullptr;
std::uint32_t OpenCardOfItsOwnRate(const SDL_AudioSpec* want, SDL_AudioSpec* have) {
    gameFill = want->callback;
    gameUser = want->userdata;
    SDL_AudioSpec silent = *want;
    silent.callback = [](void*, Uint8* bytes, int length) { std::memset(bytes, 0, length); };
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &silent, have, 0);
    have->freq = cardRate;
    return device;
}
}  // namespace

// The "choose" sound's first note, 880 Hz, at the card's own rate.
TEST(SoundDevice, TheSynthRunsAtTheRateTheCardGrants) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SetAudioDeviceOpener(OpenCardOfItsOwnRate);
    for (int rate : {22050, 44100}) {
        cardRate = rate;
        StartSound(100);
        ASSERT_TRUE(SoundPlaying());
        PlayCue(SoundCue::Choose);
        std::vector<float> heard(rate / 20);
        gameFill(gameUser, reinterpret_cast<Uint8*>(heard.data()), static_cast<int>(heard.size() * sizeof(float)));
        StopSound();
        EXPECT_GT(Level(heard, 0, heard.size(), 880, rate), 0.02) << rate;
    }
    SetAudioDeviceOpener(nullptr);
}

TEST(SynthTest, TheEngineNoteRisesWithSpeedIdlesInNeutralAndSitsLowerInReverse) {
    const struct {
        int gear;
        double speed, hz;
    } rows[] = {{-1, 8.0, 97.9}, {-1, 2.0, 69.6}, {-1, 0.0, 46.0}, {0, 5.0, 55.0}, {1, 0.0, 55.0},
                {1, 1.0, 78.0}, {1, 2.0, 97.5}, {1, 4.0, 128.0}, {1, 8.0, 165.5}};
    double lastLevel = 0;
    for (const auto& row : rows) {
        Listener ear;
        ear.Frames(30, row.speed, row.gear);
        const double hz = DominantHz(ear.heard, ear.FrameStart(22), 8 * kFrame);
        EXPECT_NEAR(hz, row.hz, 0.6) << "gear " << row.gear << ", speed " << row.speed;
        const double level = Level(ear.heard, ear.FrameStart(22), 8 * kFrame, hz);
        if (row.gear == 1 && row.speed > 0) {
            EXPECT_GE(level, lastLevel * 0.95) << "speed " << row.speed;
        }
        if (row.gear == 0) {  // the sixth harmonic is the top of the engine's timbre
            EXPECT_NEAR(Level(ear.heard, ear.FrameStart(22), 8 * kFrame, 6 * hz) / level, 0.060, 0.01);
        }
        lastLevel = level;
    }
}

// Drives told frame by frame: idle, a sudden burst of speed, the wrong lane across a penalty
// second, the wall until the drive is given up (the frames stop); then a new drive, a brake,
// the goal, and no more frames; then a drive that ends in a crash.
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
    ear.Frames(30, 8, 1);     // 250 to 279
    ear.Cue(SoundCue::Crash);
    ear.Render(10 * kFrame);  // 280 to 289

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
            EXPECT_LT(Level(ear.heard, at, kFrame, 55.0), kQuiet / 10) << "frame " << frame;
        }
    }
    // Each rhythm starts with the rule broken, and starts again as the penalty clock counts on.
    for (int frame : {60, 70}) EXPECT_GT(Level(ear.heard, ear.FrameStart(frame) + 300, kFrame, kLaneHz[0]), kHeard);
    EXPECT_LT(Level(ear.heard, ear.FrameStart(68), kFrame, kLaneHz[0]), kQuiet);
    EXPECT_GT(Level(ear.heard, ear.FrameStart(130), kFrame, kWallHz), kHeard);
    // The crash stops the engine at once, not 0.2 s after the last frame.
    EXPECT_LT(Level(ear.heard, ear.FrameStart(282), 3 * kFrame, 165.5), 0.02);
    // The brake hisses for 0.22 s, then fades: half of it is left 80 ms later.
    EXPECT_NEAR(Roughness(ear.heard, ear.FrameStart(176), 4 * kFrame), 0.037, 0.004);
    EXPECT_NEAR(Roughness(ear.heard, ear.FrameStart(184), kFrame), 0.017, 0.003);
    EXPECT_LT(Roughness(ear.heard, ear.FrameStart(200), 4 * kFrame), 0.002);
    // The chime's notes rise one after another, 0.13 s apart, each ringing on.
    EXPECT_LT(Level(ear.heard, ear.FrameStart(201), 3 * kFrame, kChimeHz), kQuiet);
    const double chime[] = {1047, 1319, 1568};
    for (int after = 0; after < 3; ++after) {
        const std::size_t at = ear.FrameStart(205) + static_cast<std::size_t>((0.13 * after + 0.01) * kRate);
        for (int note = 0; note < 3; ++note) {
            const double level = Level(ear.heard, at, kRate / 10, chime[note]);
            EXPECT_TRUE(note <= after ? level > 0.02 : level < 0.005) << note << " after " << after << ": " << level;
        }
    }
    EXPECT_LT(Peak(ear.heard), 0.8);
}

// Every cue again and again, over both warnings at full speed: more than the mix has room for
// (0.84 here), which the limiter turns down. Two seconds later it has let go: a lane chime
// alone sounds at its own level (0.112 at full volume), scaled by the volume squared.
TEST(SynthTest, APileUpOfEverySoundNeverClipsAndTheLimiterLetsGoAfterIt) {
    const struct {
        int volume;
        double chime;
    } rows[] = {{100, 0.112}, {50, 0.028}, {0, 0}};
    for (const auto& row : rows) {
        Listener ear;
        ear.controls.volume = row.volume;
        for (int buffer = 0; buffer < 100; ++buffer) {
            for (int cue = 0; cue < kSoundCueCount && buffer % 2 == 0; ++cue) ear.Cue(static_cast<SoundCue>(cue));
            ear.Frames(1, 30, 1, WarnWrongLane | WarnWallContact, 512);
        }
        EXPECT_LE(Peak(ear.heard), row.volume == 0 ? 0.0 : 0.8 + 1e-6);
        if (row.volume == 100) {
            EXPECT_GT(Peak(ear.heard), 0.7);  // everything really sounded
        }
        ear.Render(60 * kFrame);
        const std::size_t chimeStart = ear.heard.size();
        ear.second++;
        ear.Frames(4, 0, 0, WarnWrongLane);
        EXPECT_NEAR(Level(ear.heard, chimeStart + kFrame, 2 * kFrame, kLaneHz[0]), row.chime, row.chime * 0.03 + 1e-9)
            << "volume " << row.volume;
    }
}

// The game starts silent; the first tick on the menu comes at the volume already set, as does
// one after the player turned the volume down in silence.
TEST(SynthTest, TheVolumeSetInSilenceIsTheVolumeOfTheNextSound) {
    Listener ear;
    for (const double expected : {0.0215, 0.0054}) {
        ear.Render(kRate / 2);
        const std::size_t tick = ear.heard.size();
        ear.Cue(SoundCue::CursorMove);
        ear.Render(kRate / 50);
        EXPECT_NEAR(Level(ear.heard, tick, kRate / 50, 1760), expected, 0.0002);
        ear.controls.volume = 40;
    }
}

// The engine comes up at one pace however the device cuts the stream into buffers.
TEST(SynthTest, TheEngineComesUpAtOnePaceWhateverTheBufferSize) {
    for (const int buffer : {512, 33, 7}) {
        Listener ear;
        ++ear.controls.drivingFrames;
        while (ear.heard.size() < kFrame) ear.Render(buffer);
        EXPECT_NEAR(Level(ear.heard, 0, kFrame, 55), 0.00512, 0.0001) << "buffers of " << buffer;
    }
}
