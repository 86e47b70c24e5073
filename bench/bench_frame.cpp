#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "WaveScene.h"

namespace {

using bench::WaveScene;

// One frame of the scene, drawn into a canvas of the given size; the scene is
// restored between frames outside the measurement.
void measureFrames(benchmark::State& st, Canvas::Kind kind, int width, int height) {
    WaveScene scene(static_cast<int>(st.range(0)), kind, width, height);
    if (!scene.ready()) {
        st.SkipWithError("could not build the wave scene");
        return;
    }
    int standing = 0;
    int bullets = 0;
    FrameBudget budget;
    for (auto _ : st) {
        budget.start();
        scene.frame();
        budget.stop();
        st.PauseTiming();
        standing = scene.robotsStanding();
        bullets = scene.bullets();
        scene.restore();
        st.ResumeTiming();
    }
    // What the last frame left standing: the scene stays the same throughout.
    st.counters["robots"] = scene.robots();
    st.counters["robots_after"] = standing;
    st.counters["bullets_after"] = bullets;
    budget.report(st);
}

// Update and drawing into a window's software renderer, shown at the end.
void BM_Frame(benchmark::State& st) { measureFrames(st, Canvas::window, WINDOW_WIDTH, WINDOW_HEIGHT); }

// The same frame into a 1 x 1 canvas: the world's update with the drawing
// calls made but next to no pixels filled.
void BM_FrameUpdateOnly(benchmark::State& st) { measureFrames(st, Canvas::surface, 1, 1); }

}  // namespace

BENCHMARK(BM_Frame)->ArgName("wave")->Arg(1)->Arg(10)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameUpdateOnly)
    ->ArgName("wave")
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond);
