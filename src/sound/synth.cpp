#include "sound/synth.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr double kTwoPi = 6.283185307179586;
// The engine runs this long after the last driving frame told; frames come every 33 ms.
constexpr double kEngineRunsOnSeconds = 0.2;
// Nothing goes out louder than this; the mix stays below it but for pile-ups of sounds.
constexpr double kCeiling = 0.8;
constexpr double kIdleHz = 55;         // A1: the engine at rest, its harmonics carry it
constexpr double kReverseIdleHz = 46;  // reverse pulls the note down
// The engine's note and loudness follow the pedal within 1/e in these times.
constexpr double kEnginePitchSeconds = 0.08, kEngineGainSeconds = 0.04;
// The volume follows its keys within 1/e in this time; the limiter lets go in this one.
constexpr double kVolumeSeconds = 0.04, kLimiterReleaseSeconds = 0.2;
// Lane warning: a falling two-note chime in each penalty second; wall warning: four short
// lower pips. Each pattern starts again when the penalty clock counts a second.
constexpr double kLaneNotes[][3] = {{0.0, 0.15, 988}, {0.25, 0.40, 784}};  // start s, end s, Hz
constexpr double kWallPips[] = {0.0, 0.1, 0.2, 0.3};
constexpr double kWallPipSeconds = 0.055;
constexpr double kWallHz = 587;
constexpr double kLaneLevel = 0.14, kWallLevel = 0.12;
constexpr double kHissLevel = 0.08, kCrashLevel = 0.32;

constexpr int kTableSize = 1024;
struct Tables {
    float sine[kTableSize + 1];
    float engine[kTableSize + 1];  // one cycle of the engine: falling harmonics, peak 1
    Tables() {
        const double harmonics[] = {1, 0.55, 0.4, 0.28, 0.18, 0.1};
        double peak = 0;
        double engineWave[kTableSize + 1];
        for (int i = 0; i <= kTableSize; ++i) {
            const double phase = kTwoPi * i / kTableSize;
            sine[i] = static_cast<float>(std::sin(phase));
            engineWave[i] = 0;
            for (int n = 0; n < 6; ++n) engineWave[i] += harmonics[n] * std::sin((n + 1) * phase);
            peak = std::max(peak, std::fabs(engineWave[i]));
        }
        for (int i = 0; i <= kTableSize; ++i) engine[i] = static_cast<float>(engineWave[i] / peak);
    }
};
const Tables tables;

// Phases count a whole turn as 2^32, so that they wrap by themselves; the top ten bits pick
// the table entry.
constexpr int kFractionBits = 22;
double Lookup(const float* table, Synth::Phase phase) {
    const std::uint32_t i = phase >> kFractionBits;
    const float between = static_cast<float>(phase & ((1u << kFractionBits) - 1)) * (1.0f / (1u << kFractionBits));
    return table[i] + (table[i + 1] - table[i]) * between;
}

double Sine(Synth::Phase phase) { return Lookup(tables.sine, phase); }

// Louder as the note rises.
double EngineGain(double hz) { return 0.13 + 0.09 * std::clamp((hz - kReverseIdleHz) / 150.0, 0.0, 1.0); }
}  // namespace

double EngineHz(double speed, int gear) {
    const double pace = std::fabs(speed);
    if (gear > 0) return kIdleHz + 150 * (1 - std::exp(-pace / 6));
    if (gear < 0) return kReverseIdleHz + 60 * (1 - std::exp(-pace / 4));
    return kIdleHz;
}

Synth::Synth(int sampleRate) : rate_(sampleRate) {
    pitchSmooth_ = Smooth(kEnginePitchSeconds, kBlock);
    gainSmooth_ = Smooth(kEngineGainSeconds, kBlock);
    wobbleSmooth_ = Smooth(0.25);
    volumeSmooth_ = Smooth(kVolumeSeconds);
    volumeKeptOverBlock_ = 1 - Smooth(kVolumeSeconds, kBlock);
    warningSmooth_ = Smooth(0.006);
    bendSmooth_ = Smooth(0.04);
    limiterRelease_ = Smooth(kLimiterReleaseSeconds);
    limiterKeptOverBlock_ = 1 - Smooth(kLimiterReleaseSeconds, kBlock);
    hissFilter_ = 1 - std::exp(-kTwoPi * 1500 / rate_);
    hissAttack_ = Smooth(0.015);
    hissRelease_ = Smooth(0.12);
    crashFilter_ = 1 - std::exp(-kTwoPi * 400 / rate_);
    crashDecay_ = std::exp(-1 / (0.33 * rate_));
}

// The share of the way to a target that a value covers in `samples` samples, to get within
// 1/e of it in the given time: what keeps every change of pitch and loudness free of clicks.
double Synth::Smooth(double seconds, int samples) const { return 1 - std::exp(-samples / (seconds * rate_)); }

void Synth::Advance(Phase& phase, double hz) const {
    phase += static_cast<Phase>(static_cast<std::int64_t>(hz * turnsPerHz_));
}

double Synth::Noise() {
    noiseState_ ^= noiseState_ << 13;
    noiseState_ ^= noiseState_ >> 17;
    noiseState_ ^= noiseState_ << 5;
    return noiseState_ / 2147483648.0 - 1;
}

void Synth::ReadControls(const SoundControls& controls) {
    const std::uint32_t frames = controls.drivingFrames.load(std::memory_order_relaxed);
    if (frames != seenFrames_) samplesSinceFrame_ = 0;
    seenFrames_ = frames;
    for (int cue = 0; cue < kSoundCueCount; ++cue) {
        const std::uint32_t asked = controls.cues[cue].load(std::memory_order_relaxed);
        if (asked != seenCues_[cue]) StartCue(static_cast<SoundCue>(cue));
        seenCues_[cue] = asked;
    }
    const bool driving = samplesSinceFrame_ < kEngineRunsOnSeconds * rate_;
    engineTargetHz_ = EngineHz(controls.speed.load(std::memory_order_relaxed), controls.gear.load(std::memory_order_relaxed));
    engineTargetGain_ = driving ? EngineGain(engineTargetHz_) : 0;
    const int warnings = driving ? controls.warnings.load(std::memory_order_relaxed) : 0;
    const std::int64_t second = controls.second.load(std::memory_order_relaxed);
    if (warnings != 0 && (warnings_ == 0 || second != seenSecond_)) warningTime_ = 0;
    warnings_ = warnings;
    seenSecond_ = second;
    const double volume = std::clamp(controls.volume.load(std::memory_order_relaxed), 0, 100) / 100.0;
    volumeTarget_ = volume * volume;  // even steps to the ear
}

void Synth::AddTone(double hz, double amplitude, double seconds, double delay, double bendHz, double partial) {
    for (Tone& tone : tones_) {
        if (tone.hz != 0) continue;
        tone = Tone{hz, bendHz, amplitude, std::exp(-1 / (seconds * rate_)), delay * rate_, partial, 0, 0};
        return;
    }
}

void Synth::StartCue(SoundCue cue) {
    switch (cue) {
    case SoundCue::GearChange:  // a dull clunk with a click on top
        AddTone(120, 0.22, 0.05, 0, 70);
        AddTone(900, 0.04, 0.012);
        break;
    case SoundCue::Brake:  // air hiss, held while the brake keys repeat
        hissHold_ = 0.22 * rate_;
        break;
    case SoundCue::Crash:  // a falling thump in a burst of rumble; the engine dies
        crashGain_ = 1;
        AddTone(75, 0.3, 0.3, 0, 40);
        AddTone(330, 0.05, 0.25, 0, 250, 0.3);
        samplesSinceFrame_ = 1e12;
        break;
    case SoundCue::GoalIn:  // a rising bell-like C major chord, note after note
        AddTone(1047, 0.12, 0.5, 0, 0, 0.25);
        AddTone(1319, 0.12, 0.5, 0.13, 0, 0.25);
        AddTone(1568, 0.14, 0.9, 0.26, 0, 0.25);
        samplesSinceFrame_ = 1e12;
        break;
    case SoundCue::CursorMove:  // a soft tick
        AddTone(1760, 0.06, 0.02);
        break;
    case SoundCue::Choose:  // two notes up
        AddTone(880, 0.09, 0.1);
        AddTone(1319, 0.09, 0.18, 0.07);
        break;
    case SoundCue::Count: break;
    }
}

bool Synth::RenderEngine(float* out, int count) {
    if (engineGain_ < 1e-6 && engineTargetGain_ == 0) {
        std::fill(out, out + count, 0.0f);
        return false;
    }
    // Pitch and loudness move once a block; the loudness is ramped across it. A buffer's last,
    // shorter block moves them only its own share of the way, or they would follow faster the
    // more often a device cut its buffers short.
    const bool whole = count == kBlock;
    const double startGain = engineGain_;
    engineHz_ += (engineTargetHz_ - engineHz_) * (whole ? pitchSmooth_ : Smooth(kEnginePitchSeconds, count));
    engineGain_ += (engineTargetGain_ - engineGain_) * (whole ? gainSmooth_ : Smooth(kEngineGainSeconds, count));
    const double cutoff = kTwoPi * 6 * engineHz_ / rate_;
    const double lowpass = cutoff / (1 + cutoff);
    const double gainStep = (engineGain_ - startGain) / count;
    double gain = startGain;
    for (int i = 0; i < count; ++i) {
        // A slow drift of a few tenths of a per cent keeps the note alive over an hour.
        wobble_ += (Noise() - wobble_) * wobbleSmooth_;
        const double hz = engineHz_ * (1 + 1.5 * wobble_);
        Advance(enginePhase_, hz);
        Advance(engineSubPhase_, hz / 2);
        // The firing of the cylinders, a faint beat at half the note, then the edge taken off.
        const double wave = Lookup(tables.engine, enginePhase_) * (1 + 0.12 * Sine(engineSubPhase_));
        engineLowpass_ += (wave - engineLowpass_) * lowpass;
        gain += gainStep;
        out[i] = static_cast<float>(gain * engineLowpass_ * (1 / 1.12));
    }
    return true;
}

float Synth::WarningSample() {
    const bool lane = (warnings_ & WarnWrongLane) != 0, wall = (warnings_ & WarnWallContact) != 0;
    const double t = warningTime_;
    warningTime_ += secondsPerSample_;
    if (warningTime_ >= 1) warningTime_ -= 1;
    double laneTarget = 0, laneHz = kLaneNotes[0][2];
    for (const auto& note : kLaneNotes) {
        if (t >= note[0] && t < note[1] + 0.05) laneHz = note[2];
        if (lane && t >= note[0] && t < note[1]) laneTarget = 1;
    }
    double wallTarget = 0;
    for (double pip : kWallPips) {
        if (wall && t >= pip && t < pip + kWallPipSeconds) wallTarget = 1;
    }
    laneGain_ += (laneTarget - laneGain_) * warningSmooth_;
    wallGain_ += (wallTarget - wallGain_) * warningSmooth_;
    Advance(lanePhase_, laneHz);
    Advance(wallPhase_, kWallHz);
    const double laneWave = 0.8 * Sine(lanePhase_) + 0.2 * Sine(3 * lanePhase_);
    const double wallWave = 0.75 * Sine(wallPhase_) + 0.25 * Sine(3 * wallPhase_);
    return static_cast<float>(kLaneLevel * laneGain_ * laneWave + kWallLevel * wallGain_ * wallWave);
}

float Synth::NoiseSample() {
    const double noise = Noise();
    // The hiss: noise above about 1.5 kHz, rising in 15 ms, fading in 120 ms once let go.
    hissLow_ += (noise - hissLow_) * hissFilter_;
    const double hissTarget = hissHold_ > 0 ? 1 : 0;
    hissHold_ -= 1;
    hissGain_ += (hissTarget - hissGain_) * (hissTarget > hissGain_ ? hissAttack_ : hissRelease_);
    // The crash: noise below a few hundred Hz, dying away in a third of a second.
    crashLow_ += (noise - crashLow_) * crashFilter_;
    crashLower_ += (crashLow_ - crashLower_) * crashFilter_;
    crashGain_ *= crashDecay_;
    return static_cast<float>(kHissLevel * hissGain_ * (noise - hissLow_) + kCrashLevel * 4 * crashGain_ * crashLower_);
}

float Synth::ToneSample() {
    double sum = 0;
    for (Tone& tone : tones_) {
        if (tone.hz == 0) continue;
        if (tone.delay > 0) {
            tone.delay -= 1;
            continue;
        }
        if (tone.bendHz != 0) tone.hz += (tone.bendHz - tone.hz) * bendSmooth_;
        Advance(tone.phase, tone.hz);
        // 3 ms of rise, so that even a tick starts without a click.
        const double rise = std::min(1.0, tone.age++ / (0.003 * rate_));
        sum += rise * tone.amplitude * (Sine(tone.phase) + tone.partial * Sine(2 * tone.phase)) / (1 + tone.partial);
        tone.amplitude *= tone.decay;
        if (tone.amplitude < 1e-5) tone.hz = 0;
    }
    return static_cast<float>(sum);
}

bool Synth::WarningsSounding() const {
    return (warnings_ & (WarnWrongLane | WarnWallContact)) != 0 || laneGain_ >= 1e-6 || wallGain_ >= 1e-6;
}

bool Synth::NoiseSounding() const { return hissHold_ > 0 || hissGain_ >= 1e-6 || crashGain_ >= 1e-6; }

bool Synth::TonesSounding() const {
    return std::any_of(std::begin(tones_), std::end(tones_), [](const Tone& tone) { return tone.hz != 0; });
}

// A sound's samples added to a block, if it sounds at the block's start: the one test of
// whether it is quiet. True if it sounded.
bool Synth::AddIfSounding(float* block, int length, bool (Synth::*sounds)() const, float (Synth::*sample)()) {
    if (!(this->*sounds)()) return false;
    for (int i = 0; i < length; ++i) block[i] += (this->*sample)();
    return true;
}

// The engine first, then whatever else sounds, block by block; a quiet sound costs one test
// a block.
void Synth::Render(const SoundControls& controls, float* out, int count) {
    ReadControls(controls);
    for (int start = 0; start < count; start += kBlock) {
        float* block = out + start;
        const int length = std::min(kBlock, count - start);
        bool sounding = RenderEngine(block, length);
        sounding |= AddIfSounding(block, length, &Synth::WarningsSounding, &Synth::WarningSample);
        sounding |= AddIfSounding(block, length, &Synth::NoiseSounding, &Synth::NoiseSample);
        sounding |= AddIfSounding(block, length, &Synth::TonesSounding, &Synth::ToneSample);
        if (!sounding && length == kBlock) {
            SettleOverSilentBlock();
            continue;
        }
        for (int i = 0; i < length; ++i) block[i] = Limited(block[i]);
    }
    samplesSinceFrame_ += count;
}

// What a block of silence through Limited does to the volume and the limiter, at once.
void Synth::SettleOverSilentBlock() {
    volume_ = volumeTarget_ + (volume_ - volumeTarget_) * volumeKeptOverBlock_;
    limiterGain_ = 1 + (limiterGain_ - 1) * limiterKeptOverBlock_;
}

float Synth::Limited(double mix) {
    volume_ += (volumeTarget_ - volume_) * volumeSmooth_;
    mix *= volume_;
    // A limiter that acts at once and lets go in a fifth of a second: a pile-up of sounds is
    // turned down, never clipped.
    limiterGain_ += (1 - limiterGain_) * limiterRelease_;
    if (std::fabs(mix) * limiterGain_ > kCeiling) limiterGain_ = kCeiling / std::fabs(mix);
    return static_cast<float>(mix * limiterGain_);
}
