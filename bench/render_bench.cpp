// The frame of every screen, and the pieces of the driving frame, on the game's pictures.
//   build-*/bench/bench_render [--benchmark_filter=Driving]
// Each frame benchmark is repeated and reports its median.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/keys.h"
#include "bench_game.h"
#include "bus/bus.h"
#include "course/course_map.h"
#include "menus/menu_screen.h"
#include "menus/shelf_screen.h"
#include "platform/messages.h"
#include "platform/scaling.h"
#include "platform/surface.h"
#include "records/stopwatch.h"
#include "replays/drive_keys.h"
#include "replays/drive_recorder.h"
#include "replays/ghost.h"
#include "records/shelf.h"
#include "shared/globals.h"

namespace {
// A drive on the busy course runs out of road after this many frames and starts again.
constexpr int kFramesPerDrive = 1000;
constexpr double kDrivingSpeed = 2.0;

// The best drive of the busy course: the longest bus, up to the bus's speed at once and
// weaving gently, so that as a ghost it runs a few pixels behind the bus, in view and under it
// all the way, and turns in every frame (it is drawn again whenever it turns).
void WriteBestDriveOfTheBusyCourse() {
    DriveRecord drive;
    drive.course = kBusyCourse;
    drive.busType = 3;
    drive.hasCourseHash = HashCourseFile(courseMap->mapFileRead, drive.courseHash);
    drive.presses.push_back({1, VK_UP});
    for (int press = 0; press < 5; ++press) drive.presses.push_back({2, 'W'});
    drive.presses.push_back({3, 'J'});
    for (long frame = 33; frame < kFramesPerDrive; frame += 30) {
        const int key = frame % 60 == 33 ? 'K' : 'J';
        drive.presses.push_back({frame, key});
        drive.presses.push_back({frame, key});
    }
    const std::string text = FormatDrive({}, drive);
    std::FILE* file = std::fopen(BestDriveFileName(kBusyCourse).c_str(), "w");
    if (file) std::fputs(text.c_str(), file);
    if (file) std::fclose(file);
}

// Keeps the bus driving along the busy road, starting a new drive (outside the timing)
// when the road ends or the drive has ended; with the ghost, the best drive above races it.
class DriveKeeper {
public:
    explicit DriveKeeper(benchmark::State& state, bool withGhost = false) : state_(state), withGhost_(withGhost) {
        Start();
        if (withGhost) {
            WriteBestDriveOfTheBusyCourse();
            Start();
        }
    }
    ~DriveKeeper() { BeginGhost(false, kBusyCourse, ""); }
    void BeforeFrame() {
        if (++frames_ < kFramesPerDrive && ScreenState == Driving) return;
        state_.PauseTiming();
        Start();
        frames_ = 0;
        state_.ResumeTiming();
    }
private:
    void Start() {
        StartBusyDrive(0, kDrivingSpeed);
        if (withGhost_) BeginGhost(true, kBusyCourse, courseMap->mapFileRead);
    }
    benchmark::State& state_;
    bool withGhost_;
    int frames_ = 0;
};

void BM_RenderFrameCourseMenu(benchmark::State& state) {
    ScreenState = CourseSelect;
    menuScreen->CourseCursor = 3;
    for (auto _ : state) render_frame();
}

// 200 course texts on the shelf, each named by its first line, of two courses: one cleared.
void FillTheShelf() {
    if (!ListShelf().empty()) return;
    for (int i = 0; i < 200; ++i) {
        const std::string road = i % 2 == 0 ? "==" : "=-";
        const std::string text = "# name: Course number " + std::to_string(i) + "\n/= == " + road +
                                 " == =\\\n|| .. .. .. G^\n|| .. .. .. ||\n\\= S> == == =/\n";
        PutCourseOnShelf(text, "course.txt", nullptr);
    }
    RecordShelfTime(ListShelf().front().hash, 65);
}

// The course menu's last row chosen: the shelf read and its first frame drawn.
void BM_OpenShelfWith200Courses(benchmark::State& state) {
    FillTheShelf();
    for (auto _ : state) {
        ScreenState = CourseSelect;
        menuScreen->CourseCursor = 11;
        HandleKeyDown(nullptr, VK_RETURN);
        render_frame();
    }
    state.counters["courses"] = static_cast<double>(shelfScreen.courses.size());
    ScreenState = CourseSelect;
}

// One row down and its frame, scrolling through all 200.
void BM_ShelfScrollFrame(benchmark::State& state) {
    FillTheShelf();
    ScreenState = CourseSelect;
    menuScreen->CourseCursor = 11;
    HandleKeyDown(nullptr, VK_RETURN);
    for (auto _ : state) {
        HandleKeyDown(nullptr, shelfScreen.cursor + 1 < static_cast<int>(shelfScreen.courses.size()) ? VK_DOWN : VK_UP);
        render_frame();
    }
    ScreenState = CourseSelect;
}

void BM_RenderFrameBusMenu(benchmark::State& state) {
    for (auto _ : state) {
        ScreenState = BusSelect;  // the menu's drawing leaves it, as after a choice
        menuScreen->ShowBusMenu = 1;
        render_frame();
    }
}

void BM_RenderFrameDriving(benchmark::State& state) {
    DriveKeeper keeper(state);
    for (auto _ : state) {
        keeper.BeforeFrame();
        render_frame();
    }
}

// What racing a ghost adds to the frame, at most: the ghost turning right behind the bus.
void BM_RenderFrameDrivingWithGhost(benchmark::State& state) {
    DriveKeeper keeper(state, true);
    for (auto _ : state) {
        keeper.BeforeFrame();
        render_frame();
    }
}

// As in the game: a frame every 1/30 s, with the caches cooled by whatever else ran since.
// It costs several times the back-to-back figure on a busy machine.
void PacedDrivingFrames(benchmark::State& state, bool withGhost) {
    DriveKeeper keeper(state, withGhost);
    for (auto _ : state) {
        keeper.BeforeFrame();
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(33));
        state.ResumeTiming();
        render_frame();
    }
}

void BM_RenderFrameDrivingPaced(benchmark::State& state) { PacedDrivingFrames(state, false); }

// The worst that racing a ghost adds in the game: the ghost turning right behind the bus.
void BM_RenderFrameDrivingPacedWithGhost(benchmark::State& state) { PacedDrivingFrames(state, true); }

void BM_RenderFrameResult(benchmark::State& state) {
    StartBusyDrive(0, 0.0);
    stopwatch->Stop();
    courseMap->goalReached = 1;  // the goal picture with the three times in text
    ScreenState = Result;
    for (auto _ : state) render_frame();
}

void BM_RenderMap(benchmark::State& state) {
    DriveKeeper keeper(state);
    for (auto _ : state) {
        keeper.BeforeFrame();
        courseMap->RenderMap(*offscreen);
    }
}

void BM_DrawBus(benchmark::State& state) {
    StartBusyDrive(static_cast<int>(state.range(0)), kDrivingSpeed);
    liveBusState.steering = Bus::DegToRad(20);  // a steered wheel, a turned body
    courseMap->RenderMap(*offscreen);
    for (auto _ : state) courseMap->DrawBus();
}

// Where the bus stands in one frame of the busy drive.
struct BusSnapshot {
    BusState bus;
    int cellX;
    int cellY;
};

std::vector<BusSnapshot> SnapshotsAlongTheRoad(int count) {
    std::vector<BusSnapshot> snapshots;
    StartBusyDrive(0, kDrivingSpeed);
    for (int i = 0; i < count && ScreenState == Driving; ++i) {
        render_frame();
        snapshots.push_back({liveBusState, courseMap->currentCellX, courseMap->currentCellY});
    }
    return snapshots;
}

// The course rules of one frame (lane, walls, crash) at the places of a drive along the road
// of crossings and junctions.
void BM_RulesStep(benchmark::State& state) {
    const std::vector<BusSnapshot> snapshots = SnapshotsAlongTheRoad(kFramesPerDrive);
    std::size_t next = 0;
    for (auto _ : state) {
        const BusSnapshot& at = snapshots[next];
        next = (next + 1) % snapshots.size();
        liveBusState = at.bus;
        courseMap->currentCellX = at.cellX;
        courseMap->currentCellY = at.cellY;
        courseMap->ApplyLaneRule();
        courseMap->ApplyWallRule();
        benchmark::DoNotOptimize(courseMap->CheckCrash());
    }
}

void BM_DrawMinimapInstrumentsTimes(benchmark::State& state) {
    StartBusyDrive(0, kDrivingSpeed);
    for (auto _ : state) {
        courseMap->DrawMinimap();
        DrawGear();
        DrawSteeringGauge();
        courseMap->DrawTimes();
    }
}

void FrameBenchmark(benchmark::internal::Benchmark* b) {
    b->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
}
}  // namespace

// The window's part of offscreen shown at a whole scale (what presenting adds at --scale N).
void BM_ShowAtScale(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    auto frame = Surface::Create(640, 480);
    auto window = Surface::Create(640 * scale, 480 * scale);
    for (auto _ : state) {
        CopyScaled(frame->Sdl(), 0, 0, 640, 480, window->Sdl(), 0, 0, scale);
        benchmark::DoNotOptimize(window->Pixels());
    }
}

BENCHMARK(BM_RenderFrameCourseMenu)->Apply(FrameBenchmark);
BENCHMARK(BM_RenderFrameBusMenu)->Apply(FrameBenchmark);
BENCHMARK(BM_OpenShelfWith200Courses)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShelfScrollFrame)->Apply(FrameBenchmark);
BENCHMARK(BM_RenderFrameDriving)->Apply(FrameBenchmark);
BENCHMARK(BM_RenderFrameDrivingWithGhost)->Apply(FrameBenchmark);
BENCHMARK(BM_RenderFrameDrivingPaced)->Iterations(150)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameDrivingPacedWithGhost)->Iterations(150)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameResult)->Apply(FrameBenchmark);
BENCHMARK(BM_RenderMap)->Apply(FrameBenchmark);
BENCHMARK(BM_DrawBus)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RulesStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawMinimapInstrumentsTimes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowAtScale)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!SetUpBenchGame()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    TearDownBenchGame();
    return 0;
}
