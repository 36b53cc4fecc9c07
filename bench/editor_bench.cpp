// The course editor: the checker and the redraw after one paint on a 20 by 20 course, at each
// zoom (the editor does both at every change; a frame lasts 33 ms), and the memory an hour of
// painting with undo and redo leaves behind. They print figures; nothing here judges them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "maptool/course_route.h"
#include "maptool/editor_model.h"
#include "maptool/editor_view.h"

namespace {

// The largest shipped course, 20 by 20 cells.
CourseGrid LargestCourse() {
    std::ifstream in(std::string(QUONFEL_SOURCE_DIR) + "/courses/10.txt");
    std::stringstream text;
    text << in.rdbuf();
    CourseGrid grid;
    std::vector<std::string> problems;
    ParseCourseText(text.str(), grid, problems);
    return grid;
}

EditorPictures& Pictures() {
    static EditorPictures pictures;
    static const bool made = [] {
        TilePictures tiles;
        return LoadTilePictures(QUONFEL_GAME_DIR, tiles) && MakeEditorPictures(std::move(tiles), pictures);
    }();
    if (!made) std::fprintf(stderr, "editor_bench: no tile pictures in %s or no font\n", QUONFEL_GAME_DIR);
    return pictures;
}

long HighWaterKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// One paint (a cell of the course's road turned into a crossing and back, so the checker
// finds problems every other time) with the checker's run, then the whole window drawn.
void BM_PaintCheckAndRedraw(benchmark::State& state) {
    EditorModel model(LargestCourse());
    EditorView view;
    view.zoom = static_cast<int>(state.range(0));
    view.fileName = "10.txt";
    auto screen = Surface::Create(EditorWidth, EditorHeight);
    const EditorPictures& pictures = Pictures();
    const GridCell cell{10, 0};
    const std::int32_t road = model.Course().At(cell.x, cell.y);
    bool crossing = false;
    for (auto _ : state) {
        crossing = !crossing;
        model.BeginStroke();
        model.Paint(cell, crossing ? 15 : road);
        model.EndStroke();
        DrawEditor(*screen, model, view, pictures);
    }
    state.counters["findings"] = static_cast<double>(model.Findings().size());
}
BENCHMARK(BM_PaintCheckAndRedraw)->Arg(32)->Arg(64)->Arg(128)->Unit(benchmark::kMillisecond);

// The checker alone, on the sound course.
void BM_CheckOnly(benchmark::State& state) {
    EditorModel model(LargestCourse());
    for (auto _ : state) {
        model.Paint({10, 0}, 15);
        model.Undo();
    }
}
BENCHMARK(BM_CheckOnly)->Unit(benchmark::kMillisecond);

// An hour of painting at ten strokes a second, a few cells each, with an undo, a redo, a row or
// column grown or shrunk now and then, and the window drawn after every change.
void BM_AnHourOfPainting(benchmark::State& state) {
    const long before = HighWaterKilobytes();
    for (auto _ : state) {
        EditorModel model(LargestCourse());
        EditorView view;
        view.zoom = 32;
        auto screen = Surface::Create(EditorWidth, EditorHeight);
        std::mt19937 random(26);
        for (int stroke = 0; stroke < 36000; ++stroke) {
            const int what = static_cast<int>(random() % 40);
            if (what == 0) model.Undo();
            else if (what == 1) model.Redo();
            else if (what == 2) model.Grow(static_cast<int>(random() % 4));
            else if (what == 3) model.Shrink(static_cast<int>(random() % 4));
            else {
                model.BeginStroke();
                for (int cell = 0; cell < 4; ++cell)
                    model.Paint({static_cast<int>(random() % 20), static_cast<int>(random() % 20)},
                                static_cast<std::int32_t>(random() % 24));
                model.EndStroke();
            }
            view.hover = {static_cast<int>(random() % 20), static_cast<int>(random() % 20)};
            DrawEditor(*screen, model, view, Pictures());
        }
        state.counters["undo_steps"] = static_cast<double>(model.UndoDepth());
    }
    state.counters["VmHWM_before_kB"] = static_cast<double>(before);
    state.counters["VmHWM_after_kB"] = static_cast<double>(HighWaterKilobytes());
}
BENCHMARK(BM_AnHourOfPainting)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
