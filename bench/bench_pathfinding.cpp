#include <benchmark/benchmark.h>

#include <list>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "enemies/Roborto.h"
#include "platform/Resources.h"
#include "world/Level.h"

namespace {

// Level 3 with one chaser standing on every robot spawn point and the hero on
// the bottom row, so that every chaser searches its way down the whole level.
class ChaseScene {
public:
    ChaseScene() {
        state = State();
        loadLevelFromCSV(levelFilePath(3), platforms, enemySpawns, playerSpawns);
        const int bottom = static_cast<int>(state.levelMap.size()) - 1;
        int column = 1;
        while (column < LEVEL_COLUMNS - 1 && Enemy::isEmptyCell(column, bottom, state)) ++column;
        state.playerTileY = bottom;
        state.playerTileX = column;
        state.playerX = (column - 1) * TILE_SIZE_SCALED + TILE_SIZE_SCALED / 4;

        for (const Spawn& point : enemySpawns) {
            auto body = std::make_unique<Entity>(&enemySpawns, gameRenderer, Roborto::health);
            auto chaser = std::make_unique<Roborto>(body.get());
            const SDL_Rect& area = point.getRect();
            body->setPosition(area.x, area.y + area.h - body->getRect().h);
            const SDL_Rect& rect = body->getRect();
            chasers.push_back({chaser.get(), rect.x / TILE_SIZE_SCALED + 1, (rect.y - state.camY) / TILE_SIZE_SCALED});
            bodies.push_back(std::move(body));
            robots.push_back(std::move(chaser));
        }
    }
    ~ChaseScene() {
        robots.clear();
        bodies.clear();
        state = State();
    }
    ChaseScene(const ChaseScene&) = delete;
    ChaseScene& operator=(const ChaseScene&) = delete;

    struct Chaser {
        const Roborto* robot;
        int tileX;
        int tileY;
    };
    std::vector<Chaser> chasers;

private:
    Canvas canvas;
    std::list<Platform> platforms;
    std::vector<Spawn> enemySpawns;
    std::vector<Spawn> playerSpawns;
    std::vector<std::unique_ptr<Entity>> bodies;
    std::vector<std::unique_ptr<Roborto>> robots;
};

// The search as it would run if it took the state by value: a copy of the
// whole record, level map included, per search.
__attribute__((noinline)) void pathFindOnCopy(const Roborto& robot, int x, int y, int& left, int& right, State copy) {
    robot.pathFind(x, y, left, right, copy, true);
}

// One search per iteration, going round the chasers in turn.
template <typename Search>
void measureSearches(benchmark::State& st, Search search) {
    ChaseScene scene;
    if (scene.chasers.empty()) {
        st.SkipWithError("level 3 has no robot spawn point");
        return;
    }
    std::size_t next = 0;
    long ways = 0;
    FrameBudget budget;
    budget.start();
    for (auto _ : st) {
        const ChaseScene::Chaser& chaser = scene.chasers[next];
        next = next + 1 == scene.chasers.size() ? 0 : next + 1;
        int left = 0;
        int right = 0;
        search(chaser, left, right);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
        ways += left < Roborto::NO_WAY || right < Roborto::NO_WAY ? 1 : 0;
    }
    budget.stop();
    st.counters["chasers"] = static_cast<double>(scene.chasers.size());
    // Share of the searches that found a way to the hero: they did real work.
    st.counters["found_way"] = static_cast<double>(ways) / static_cast<double>(st.iterations());
    budget.report(st);
}

void BM_PathSearch(benchmark::State& st) {
    measureSearches(st, [](const ChaseScene::Chaser& c, int& left, int& right) {
        c.robot->pathFind(c.tileX, c.tileY, left, right, state, true);
    });
}

void BM_PathSearchCopyingState(benchmark::State& st) {
    measureSearches(st, [](const ChaseScene::Chaser& c, int& left, int& right) {
        pathFindOnCopy(*c.robot, c.tileX, c.tileY, left, right, state);
    });
}

}  // namespace

BENCHMARK(BM_PathSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PathSearchCopyingState)->Unit(benchmark::kMicrosecond);
