// The sound card, through SDL's audio: one stream of mono samples from -1 to 1 that a fill
// function writes on SDL's own audio thread. Only this file's code sees SDL audio; SDL's audio
// is started when a stream is opened and stopped when it closes, so a game without sound
// never starts it.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

// Called on the audio thread: writes `count` samples. It must not block or allocate.
using AudioFill = void (*)(void* user, float* samples, int count);

// Opens the device as SDL_OpenAudioDevice would, given what the game wants and where to put
// what it got. Tests stand in a card of another rate here: SDL's own test drivers grant
// whatever rate is asked for, a real card often does not.
struct SDL_AudioSpec;
using AudioDeviceOpener = std::uint32_t (*)(const SDL_AudioSpec* want, SDL_AudioSpec* have);
// Null: SDL's default device again.
void SetAudioDeviceOpener(AudioDeviceOpener opener);

class AudioStream {
public:
    // Opens the default output (the driver SDL_AUDIODRIVER names, else SDL's choice), silent
    // until Start. Null when no device can be had, with one line on stderr that says why.
    static std::unique_ptr<AudioStream> Open(AudioFill fill, void* user);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    int SampleRate() const { return rate_; }
    void Start();
    // True once the device went away (its server ended, the card was unplugged): it then
    // asks for no more samples. Told on stderr once, the first time this finds it.
    bool Lost();

    // How the audio thread kept up: its calls, those that came later than two buffers after
    // the one before (the device was starved), the longest fill and the buffer's length.
    struct Timing {
        std::uint64_t calls;
        std::uint64_t lateCalls;
        double longestFillMs;
        double bufferMs;
    };
    Timing TimingSoFar() const;

private:
    AudioStream() = default;
    static void Callback(void* self, std::uint8_t* bytes, int length);
    std::uint32_t device_ = 0;
    int rate_ = 0;
    int bufferSamples_ = 0;
    AudioFill fill_ = nullptr;
    void* user_ = nullptr;
    bool lostTold_ = false;
    std::atomic<std::uint64_t> calls_{0};
    std::atomic<std::uint64_t> lateCalls_{0};
    std::atomic<std::int64_t> longestFillNs_{0};
    std::int64_t lastCallNs_ = 0;  // the audio thread's own
};
