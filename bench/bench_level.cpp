#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "play/World.h"
#include "world/Level.h"

namespace {

// Loads one level into a fresh world per iteration, followed by extraWork;
// making the empty world, tearing the loaded one down and cleanUp are left
// out of the measurement.
template <typename ExtraWork, typename CleanUp>
void measureLoads(benchmark::State& st, ExtraWork extraWork, CleanUp cleanUp) {
    Canvas canvas;
    state = State();
    auto run = std::make_unique<RunObjects>(canvas.renderer);
    zorbiPointer = &run->player;
    const int level = static_cast<int>(st.range(0));
    std::size_t platforms = 0;
    FrameBudget budget;
    for (auto _ : st) {
        st.PauseTiming();
        auto world = std::make_unique<World>();
        st.ResumeTiming();
        budget.start();
        loadLevel(*run, *world, level);
        extraWork(*world);
        budget.stop();
        st.PauseTiming();
        platforms = world->ePlatforms.size();
        world.reset();
        cleanUp();
        st.ResumeTiming();
    }
    if (platforms == 0) st.SkipWithError("the level loaded no platform");
    st.counters["platforms"] = static_cast<double>(platforms);
    budget.report(st);
    run.reset();
    zorbiPointer = nullptr;
    state = State();
}

void BM_LoadLevel(benchmark::State& st) {
    measureLoads(st, [](World&) {}, [] {});
}

// The same load as if every platform read and decoded its own copy of the
// platform image and made its own renderer texture of it, as a loader without
// the image cache would.
void BM_LoadLevelDecodingPerPlatform(benchmark::State& st) {
    std::vector<SDL_Texture*> textures;
    textures.reserve(LEVEL_COLUMNS * LEVEL_MAX_ROWS);
    measureLoads(
        st,
        [&textures](World& world) {
            for (std::size_t i = 0; i < world.ePlatforms.size(); ++i) {
                SDL_Surface* image = IMG_Load("resources/textures/platform.png");
                if (image == nullptr) continue;
                SDL_SetColorKey(image, SDL_TRUE, SDL_MapRGB(image->format, 0, 0xFF, 0xFF));
                textures.push_back(SDL_CreateTextureFromSurface(gameRenderer, image));
                SDL_FreeSurface(image);
            }
            benchmark::DoNotOptimize(textures.data());
        },
        [&textures] {
            for (SDL_Texture* texture : textures) SDL_DestroyTexture(texture);
            textures.clear();
        });
}

}  // namespace

BENCHMARK(BM_LoadLevel)->ArgName("level")->DenseRange(1, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevelDecodingPerPlatform)
    ->ArgName("level")
    ->DenseRange(1, 3)
    ->Unit(benchmark::kMillisecond);
