// What the game sounds like: every sound made here from oscillators and noise, mixed into one
// stream. The game tells SoundControls what happens; the audio thread's Synth reads them and
// renders. Nothing here waits for anything: the controls are atomics, a cue is a counter.
#pragma once
#include <atomic>
#include <cstdint>

// Short sounds, each started by an event of the game.
enum class SoundCue { GearChange, Brake, Crash, GoalIn, CursorMove, Choose, Count };
constexpr int kSoundCueCount = static_cast<int>(SoundCue::Count);

// The rules broken in a driving frame, as the warning box shows them.
enum WarningBits { WarnWrongLane = 1, WarnWallContact = 2 };

// Written by the game's thread, read by the audio thread.
struct SoundControls {
    std::atomic<int> volume{80};  // 0 to 100
    // The engine runs while driving frames are told; they stop coming when the drive ends.
    std::atomic<std::uint32_t> drivingFrames{0};
    std::atomic<float> speed{0};
    std::atomic<int> gear{0};
    std::atomic<int> warnings{0};
    // The wall-clock second of the latest driving frame: the penalty clock counts these, and
    // the warning's rhythm starts again with each one.
    std::atomic<std::int64_t> second{0};
    // How often each cue was asked for; the synth plays one for each change it sees.
    std::atomic<std::uint32_t> cues[kSoundCueCount] = {};
};

// The engine's note in Hz for a speed (pixels a frame) and a gear (-1 R, 0 N, 1 D).
double EngineHz(double speed, int gear);

class Synth {
public:
    using Phase = std::uint32_t;  // of an oscillator: 2^32 is a whole turn

    // Samples worked out together: pitch and loudness move once a block (0.7 ms at 48 kHz).
    static constexpr int kBlock = 32;

    explicit Synth(int sampleRate);
    // The next `count` samples, from -1 to 1: one buffer of the device. The controls are
    // read once a buffer.
    void Render(const SoundControls& controls, float* out, int count);

private:
    // One note of a cue: a sine (with its octave as `partial`) dying away, bent towards
    // bendHz if that is not 0, starting after `delay` samples. Free while hz is 0.
    struct Tone {
        double hz = 0, bendHz = 0, amplitude = 0, decay = 1, delay = 0, partial = 0, age = 0;
        Phase phase = 0;
    };
    static constexpr int kTones = 12;

    void ReadControls(const SoundControls& controls);
    void StartCue(SoundCue cue);
    void AddTone(double hz, double amplitude, double seconds, double delay = 0, double bendHz = 0,
                 double partial = 0);
    bool RenderEngine(float* out, int count);  // false: silent
    bool WarningsSounding() const;
    bool NoiseSounding() const;
    bool TonesSounding() const;
    bool AddIfSounding(float* block, int length, bool (Synth::*sounds)() const, float (Synth::*sample)());
    float Limited(double mix);
    void SettleOverSilentBlock();
    float WarningSample();
    float NoiseSample();
    float ToneSample();
    double Noise();
    void Advance(Phase& phase, double hz) const;
    double Smooth(double seconds, int samples = 1) const;

    double rate_;
    double secondsPerSample_ = 1 / rate_, turnsPerHz_ = 4294967296.0 / rate_;
    // Smoothing shares (see Smooth): the engine's pitch and loudness a block, the others a
    // sample; and filter coefficients.
    double pitchSmooth_, gainSmooth_, wobbleSmooth_, volumeSmooth_, warningSmooth_, bendSmooth_, limiterRelease_;
    double volumeKeptOverBlock_, limiterKeptOverBlock_;
    double hissFilter_, hissAttack_, hissRelease_, crashFilter_, crashDecay_;
    std::uint32_t seenFrames_ = 0;
    std::int64_t seenSecond_ = 0;
    std::uint32_t seenCues_[kSoundCueCount] = {};
    double samplesSinceFrame_ = 1e9;
    // Engine
    double engineHz_ = 55, engineTargetHz_ = 55;
    double engineGain_ = 0, engineTargetGain_ = 0;
    Phase enginePhase_ = 0, engineSubPhase_ = 0;
    double engineLowpass_ = 0, wobble_ = 0;
    // Warnings: the rules broken, and how far into the current second's rhythm.
    int warnings_ = 0;
    double warningTime_ = 0;
    Phase lanePhase_ = 0, wallPhase_ = 0;
    double laneGain_ = 0, wallGain_ = 0;
    // Noise sounds: the brake's hiss and the crash's rumble.
    double hissHold_ = 0, hissGain_ = 0, crashGain_ = 0, hissLow_ = 0, crashLow_ = 0, crashLower_ = 0;
    Tone tones_[kTones];
    double volume_ = 0, volumeTarget_ = 0;
    double limiterGain_ = 1;
    std::uint32_t noiseState_ = 0x12345678u;
};
