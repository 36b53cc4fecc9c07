#include "sound/sound.h"

#include <cstdio>

#include "platform/audio.h"
#include "platform/clock.h"

namespace {
// Released by StopSound in the shutdown, never by a static destructor: the audio thread
// must not outlive what it reads.
SoundControls controls;
Synth* synth = nullptr;
AudioStream* stream = nullptr;

void Fill(void*, float* samples, int count) { synth->Render(controls, samples, count); }

void Count(std::atomic<std::uint32_t>& counter) { counter.fetch_add(1, std::memory_order_relaxed); }
}  // namespace

void StartSound(int volume) {
    if (stream) return;
    controls.volume = volume;
    std::unique_ptr<AudioStream> opened = AudioStream::Open(Fill, nullptr);
    if (!opened) return;
    synth = new Synth(opened->SampleRate());
    stream = opened.release();
    stream->Start();
}

void StopSound() {
    delete stream;  // the audio thread has ended once this returns
    stream = nullptr;
    delete synth;
    synth = nullptr;
}

bool SoundPlaying() { return stream && !stream->Lost(); }

void PlayCue(SoundCue cue) {
    if (SoundPlaying()) Count(controls.cues[static_cast<int>(cue)]);
}

void TellDrivingFrame(double speed, int gear, int warnings) {
    if (!SoundPlaying()) return;
    controls.speed.store(static_cast<float>(speed), std::memory_order_relaxed);
    controls.gear.store(gear, std::memory_order_relaxed);
    controls.warnings.store(warnings, std::memory_order_relaxed);
    controls.second.store(Clock().WallSeconds(), std::memory_order_relaxed);
    Count(controls.drivingFrames);
}

void SetSoundVolume(int volume) { controls.volume = volume; }

int SoundVolume() { return controls.volume; }

const SoundControls& GameSoundControls() { return controls; }

std::string SoundTimingReport() {
    if (!stream) return "";
    const AudioStream::Timing timing = stream->TimingSoFar();
    char line[200];
    std::snprintf(line, sizeof line,
                  "sound: %llu buffers of %.1f ms at %d Hz, %llu of them late, longest fill %.3f ms",
                  static_cast<unsigned long long>(timing.calls), timing.bufferMs, stream->SampleRate(),
                  static_cast<unsigned long long>(timing.lateCalls), timing.longestFillMs);
    return line;
}
