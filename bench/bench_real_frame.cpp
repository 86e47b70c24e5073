// The frame as a machine without a graphics card shows it: the game's own
// renderer (SDL's OpenGL renderer, drawn by Mesa's software rasteriser) in a
// shown 1200 x 720 X window, vsync off so that showing a frame costs the work
// and not a wait for the display. Beside each game frame, a plain frame on the
// same renderer: the window cleared, one window-sized opaque copy, shown. No
// frame of the game can cost less than that, so the ratio of the two says what
// the game's own drawing adds, whatever the machine's fill rate.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "DrawCounter.h"
#include "WaveScene.h"

namespace {

using bench::WaveScene;

// Frames drawn and shown before measuring: the driver compiles its shaders and
// uploads the textures on their first use.
const int WARM_UP_FRAMES = 20;

// The window cleared, one opaque window-sized texture copied over it, shown.
class PlainFrame {
public:
    explicit PlainFrame(SDL_Renderer* target) : renderer(target) {
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, WINDOW_WIDTH,
                                    WINDOW_HEIGHT);
        if (texture == nullptr) return;
        std::vector<Uint32> pixels(static_cast<std::size_t>(WINDOW_WIDTH * WINDOW_HEIGHT));
        for (int y = 0; y < WINDOW_HEIGHT; ++y) {
            for (int x = 0; x < WINDOW_WIDTH; ++x) {
                const Uint32 r = static_cast<Uint32>(x * 255 / WINDOW_WIDTH);
                const Uint32 g = static_cast<Uint32>(y * 255 / WINDOW_HEIGHT);
                const Uint32 b = static_cast<Uint32>((x ^ y) & 0xFF);
                pixels[static_cast<std::size_t>(y * WINDOW_WIDTH + x)] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        }
        SDL_UpdateTexture(texture, nullptr, pixels.data(), WINDOW_WIDTH * 4);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    }
    ~PlainFrame() {
        if (texture != nullptr) SDL_DestroyTexture(texture);
    }
    PlainFrame(const PlainFrame&) = delete;
    PlainFrame& operator=(const PlainFrame&) = delete;

    bool ok() const { return texture != nullptr; }

    void show() {
        SDL_SetRenderDrawColor(renderer, 16, 16, 16, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }

private:
    SDL_Renderer* renderer;
    SDL_Texture* texture = nullptr;
};

bool onOpenGL(benchmark::State& st, const char* driver) {
    if (std::strcmp(driver, "opengl") == 0) return true;
    const std::string why = std::string("SDL picked the \"") + driver + "\" renderer, not \"opengl\"";
    st.SkipWithError(why.c_str());
    return false;
}

// One game frame of level 3 at wave N, drawn and shown (the time measured),
// then a plain frame on the same renderer and the scene put back (outside the
// measurement, the plain frame timed on its own). Reports both in CPU ms, the
// ratio real_to_plain, and the game's drawing calls per frame.
void BM_RealFrame(benchmark::State& st) {
    WaveScene scene(static_cast<int>(st.range(0)), Canvas::display, WINDOW_WIDTH, WINDOW_HEIGHT);
    if (!scene.ready()) {
        st.SkipWithError("could not build the wave scene in a window");
        return;
    }
    if (!onOpenGL(st, scene.driver())) return;
    PlainFrame plain(scene.renderer());
    if (!plain.ok()) {
        st.SkipWithError("could not make the plain frame's texture");
        return;
    }
    for (int i = 0; i < WARM_UP_FRAMES; ++i) {
        scene.frame();
        plain.show();
        scene.restore();
    }

    FrameBudget budget;
    double plainSeconds = 0;
    DrawCalls calls;
    for (auto _ : st) {
        const DrawCalls before = drawCallsSoFar();
        budget.start();
        scene.frame();
        budget.stop();
        st.PauseTiming();
        calls = drawCallsSoFar() - before;
        const double plainStart = processSeconds();
        plain.show();
        plainSeconds += processSeconds() - plainStart;
        scene.restore();
        SDL_PumpEvents();
        st.ResumeTiming();
    }
    if (st.iterations() == 0) return;
    const double frames = static_cast<double>(st.iterations());
    st.counters["frame_ms"] = budget.seconds() / frames * 1e3;
    st.counters["plain_ms"] = plainSeconds / frames * 1e3;
    st.counters["real_to_plain"] = plainSeconds > 0 ? budget.seconds() / plainSeconds : 0;
    // The drawing calls of the last frame: every frame draws the same scene.
    st.counters["draws"] = static_cast<double>(calls.draws());
    st.counters["copies"] = static_cast<double>(calls.copies);
    st.counters["fills"] = static_cast<double>(calls.fills);
    st.counters["rects_filled"] = static_cast<double>(calls.rectsFilled);
    st.counters["colours"] = static_cast<double>(calls.colours);
    st.counters["robots"] = scene.robots();
    budget.report(st);
}

// The plain frame alone, in a window and renderer of its own.
void BM_RealPlainFrame(benchmark::State& st) {
    Canvas canvas(Canvas::display);
    if (!canvas.ok()) {
        st.SkipWithError("could not open a window with a renderer");
        return;
    }
    if (!onOpenGL(st, canvas.driver())) return;
    PlainFrame plain(canvas.renderer);
    if (!plain.ok()) {
        st.SkipWithError("could not make the plain frame's texture");
        return;
    }
    for (int i = 0; i < WARM_UP_FRAMES; ++i) plain.show();
    FrameBudget budget;
    for (auto _ : st) {
        budget.start();
        plain.show();
        budget.stop();
        st.PauseTiming();
        SDL_PumpEvents();
        st.ResumeTiming();
    }
    budget.report(st);
}

}  // namespace

// The rasteriser's own threads work for the frame too: CPU time of the whole process.
BENCHMARK(BM_RealFrame)
    ->ArgName("wave")
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Arg(100)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RealPlainFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
