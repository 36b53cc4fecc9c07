#include "platform/audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>

#include "platform/printable.h"

namespace {
constexpr int kWantedRate = 48000;
// About 43 ms at 48 kHz, SDL's own choice for the rate: a key's sound starts a frame or so
// later, and a loaded machine can be late to wake the audio thread without a gap in the
// sound. Each wake-up costs more than the synthesis: half the buffer doubles the CPU at rest.
constexpr int kBufferSamples = 2048;

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

AudioDeviceOpener deviceOpener = nullptr;

void SayNoSound(const char* what) { std::fprintf(stderr, "quonfel: no sound: %s: %s\n", what, Printable(SDL_GetError()).c_str()); }

// ALSA's library writes a paragraph to stderr when a machine has no card, on top of the one
// line the game gives; SDL loads the same library, so quietening it here quietens SDL's.
extern "C" void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
void QuietenAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(IgnoreAlsaMessage);
}
}  // namespace

void SetAudioDeviceOpener(AudioDeviceOpener opener) { deviceOpener = opener; }

std::unique_ptr<AudioStream> AudioStream::Open(AudioFill fill, void* user) {
    QuietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SayNoSound("the sound system cannot be started");
        return nullptr;
    }
    std::unique_ptr<AudioStream> stream(new AudioStream());
    stream->fill_ = fill;
    stream->user_ = user;
    SDL_AudioSpec want{};
    want.freq = kWantedRate;
    want.format = AUDIO_F32SYS;
    want.channels = 1;
    want.samples = kBufferSamples;
    want.callback = Callback;
    want.userdata = stream.get();
    SDL_AudioSpec have{};
    // The device's own rate saves a conversion; SDL turns the one channel into the device's.
    stream->device_ = deviceOpener ? deviceOpener(&want, &have)
                                   : SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (stream->device_ == 0) {
        SayNoSound("no audio device can be opened");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    stream->rate_ = have.freq;
    stream->bufferSamples_ = have.samples;
    return stream;
}

AudioStream::~AudioStream() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioStream::Start() { SDL_PauseAudioDevice(device_, 0); }

bool AudioStream::Lost() {
    if (SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED) return false;
    if (!lostTold_) std::fprintf(stderr, "quonfel: the sound device went away; the game goes on without sound\n");
    lostTold_ = true;
    return true;
}

void AudioStream::Callback(void* self, std::uint8_t* bytes, int length) {
    auto& stream = *static_cast<AudioStream*>(self);
    const std::int64_t start = NowNs();
    const std::int64_t bufferNs = static_cast<std::int64_t>(stream.bufferSamples_) * 1000000000 / stream.rate_;
    if (stream.lastCallNs_ != 0 && start - stream.lastCallNs_ > 2 * bufferNs) ++stream.lateCalls_;
    stream.lastCallNs_ = start;
    stream.fill_(stream.user_, reinterpret_cast<float*>(bytes), length / static_cast<int>(sizeof(float)));
    const std::int64_t took = NowNs() - start;
    if (took > stream.longestFillNs_.load(std::memory_order_relaxed)) stream.longestFillNs_ = took;
    ++stream.calls_;
}

AudioStream::Timing AudioStream::TimingSoFar() const {
    return Timing{calls_.load(), lateCalls_.load(), static_cast<double>(longestFillNs_.load()) / 1e6,
                  rate_ == 0 ? 0.0 : 1000.0 * bufferSamples_ / rate_};
}
