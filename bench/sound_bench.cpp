// The synthesis on the audio thread: CPU time per buffer of 2048 samples (43 ms at 48 kHz)
// on a menu (silence), driving with the engine alone, and driving with the warnings and a
// brake now and then.
//   build/bench/bench_sound
#include <benchmark/benchmark.h>

#include <vector>

#include "sound/synth.h"

enum class Scene { Menu, Driving, DrivingWithWarnings };

static void BM_SynthBuffer(benchmark::State& state, Scene scene) {
    SoundControls controls;
    Synth synth(48000);
    std::vector<float> buffer(2048);
    int buffers = 0;
    for (auto _ : state) {
        if (scene != Scene::Menu) {
            controls.speed = static_cast<float>(buffers % 200) / 20;
            controls.gear = 1;
            ++controls.drivingFrames;
        }
        if (scene == Scene::DrivingWithWarnings) {
            controls.warnings = (buffers / 40) % 4;
            if (buffers % 25 == 0) ++controls.cues[static_cast<int>(SoundCue::Brake)];
        }
        synth.Render(controls, buffer.data(), static_cast<int>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
        ++buffers;
    }
}
BENCHMARK_CAPTURE(BM_SynthBuffer, menu, Scene::Menu)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_SynthBuffer, driving, Scene::Driving)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_SynthBuffer, driving_with_warnings, Scene::DrivingWithWarnings)->MeasureProcessCPUTime()->UseRealTime();

BENCHMARK_MAIN();
