#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "play/World.h"
#include "player/Weapon.h"
#include "world/Texture.h"

namespace {

// One shot of the fully upgraded shotgun (seven bullets) after a first one,
// with the files opened and images decoded while firing counted. The spent
// bullets are cleared and the magazine refilled outside the measurement.
void BM_ShotgunShot(benchmark::State& st) {
    Canvas canvas;
    state = State();
    state.currentShotgunLevel = 5;
    auto run = std::make_unique<RunObjects>(canvas.renderer);
    Weapon& gun = *run->weapon(shotgun);
    gun.upgrade(state);
    gun.reset();
    std::list<Entity> bodies;
    std::list<Bullet> bullets;
    const int x = WINDOW_WIDTH / 2;
    const int y = WINDOW_HEIGHT / 2;

    // The counter must see the opens the libraries make, or a zero means nothing.
    const long probeBefore = fileOpenCount();
    SDL_RWops* probe = SDL_RWFromFile("resources/textures/bullet.png", "rb");
    if (probe != nullptr) SDL_RWclose(probe);
    if (probe == nullptr || fileOpenCount() == probeBefore) {
        st.SkipWithError("file opens cannot be counted here");
        return;
    }

    gun.shoot(&bodies, &bullets, state, true, x, y);
    bodies.clear();
    bullets.clear();
    gun.reset();

    const long opensBefore = fileOpenCount();
    const int decodedBefore = decodedImageCount();
    std::size_t perShot = 0;
    FrameBudget budget;
    for (auto _ : st) {
        budget.start();
        gun.shoot(&bodies, &bullets, state, true, x, y);
        budget.stop();
        st.PauseTiming();
        perShot = bullets.size();
        bullets.clear();
        bodies.clear();
        gun.reset();
        st.ResumeTiming();
    }
    const double shots = static_cast<double>(st.iterations());
    st.counters["bullets_per_shot"] = static_cast<double>(perShot);
    st.counters["files_opened_per_shot"] = static_cast<double>(fileOpenCount() - opensBefore) / shots;
    st.counters["images_decoded_per_shot"] = static_cast<double>(decodedImageCount() - decodedBefore) / shots;
    budget.report(st);
    run.reset();
    state = State();
}

}  // namespace

BENCHMARK(BM_ShotgunShot)->Unit(benchmark::kMicrosecond);
