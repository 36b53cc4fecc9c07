// The synthesis on the audio thread: one buffer of the device while driving, with the
// warnings and a brake now and then. CPU time per buffer of 2048 samples (43 ms at 48 kHz).
//   build/bench/bench_sound
#include <benchmark/benchmark.h>

#include <vector>

#include "sound/synth.h"

static void BM_SynthDrivingBuffer(benchmark::State& state) {
    SoundControls controls;
    Synth synth(48000);
    std::vector<float> buffer(2048);
    int buffers = 0;
    for (auto _ : state) {
        controls.speed = static_cast<float>(buffers % 200) / 20;
        controls.gear = 1;
        controls.warnings = (buffers / 40) % 4;
        ++controls.drivingFrames;
        if (buffers % 25 == 0) ++controls.cues[static_cast<int>(SoundCue::Brake)];
        synth.Render(controls, buffer.data(), static_cast<int>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
        ++buffers;
    }
}
BENCHMARK(BM_SynthDrivingBuffer)->MeasureProcessCPUTime()->UseRealTime();

BENCHMARK_MAIN();
