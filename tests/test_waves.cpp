#include <gtest/gtest.h>

#include <cstdlib>
#include <list>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "enemies/Waves.h"

namespace {
using Bodies = std::vector<std::unique_ptr<Entity>>;
using Robots = std::vector<std::unique_ptr<Enemy>>;

int totalDifficulty(const Robots& robots) {
    int total = 0;
    for (const auto& robot : robots) total += robot->getDifficulty();
    return total;
}

int countOf(const Robots& robots, ENEMY_TYPE type) {
    int n = 0;
    for (const auto& robot : robots) n += robot->getType() == type ? 1 : 0;
    return n;
}

struct Wave {
    explicit Wave(int budget, std::vector<Spawn>* spawns = nullptr) {
        getWaveEnemyEntities(budget, spawns, bodies, robots);
    }
    Bodies bodies;
    Robots robots;
};
}  // namespace

TEST(WaveDraw, BandsSplitTheDrawsByTheStandardWeights) {
    const int* w = state.currentWeight;
    ASSERT_EQ(w, state.standardWeight);
    EXPECT_EQ(enemyTypeForDraw(1, w), robor);
    EXPECT_EQ(enemyTypeForDraw(40, w), robor);
    EXPECT_EQ(enemyTypeForDraw(41, w), roborto);
    EXPECT_EQ(enemyTypeForDraw(70, w), roborto);
    EXPECT_EQ(enemyTypeForDraw(71, w), robro);
    EXPECT_EQ(enemyTypeForDraw(80, w), robro);
    EXPECT_EQ(enemyTypeForDraw(81, w), romo);
    EXPECT_EQ(enemyTypeForDraw(90, w), romo);
    EXPECT_EQ(enemyTypeForDraw(91, w), roo);
    EXPECT_EQ(enemyTypeForDraw(100, w), roo);

    const int narrow[] = {10, 20, 30, 40, 50};
    EXPECT_EQ(enemyTypeForDraw(51, narrow), -1);  // past the last band: no kind

    // The first draw of a roomy wave is always taken: it is rand() % 100 + 1.
    Canvas canvas;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::srand(seed);
        const int draw = std::rand() % 100 + 1;
        std::srand(seed);
        Wave wave(12);
        ASSERT_FALSE(wave.robots.empty());
        EXPECT_EQ(wave.robots.front()->getType(), enemyTypeForDraw(draw, w)) << "seed " << seed;
    }
}

TEST(WaveComposition, SmallBudgetsOnlyTakeWhatFits) {
    Canvas canvas;
    bool sawTwoRobors = false;
    bool sawOneCostTwo = false;
    bool sawRooAtFour = false;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::srand(seed);
        const Wave one(1);
        ASSERT_EQ(one.robots.size(), 1u);
        EXPECT_EQ(one.robots[0]->getType(), robor);

        const Wave two(2);
        EXPECT_EQ(totalDifficulty(two.robots), 2);
        EXPECT_EQ(countOf(two.robots, roo), 0);
        if (two.robots.size() == 2) {
            EXPECT_EQ(countOf(two.robots, robor), 2);
            sawTwoRobors = true;
        } else {
            ASSERT_EQ(two.robots.size(), 1u);
            EXPECT_NE(two.robots[0]->getType(), robor);
            sawOneCostTwo = true;
        }

        const Wave three(3);
        EXPECT_EQ(totalDifficulty(three.robots), 3);
        EXPECT_EQ(countOf(three.robots, roo), 0);

        const Wave four(4);
        EXPECT_EQ(totalDifficulty(four.robots), 4);
        if (countOf(four.robots, roo) == 1) {
            EXPECT_EQ(four.robots.size(), 1u);
            sawRooAtFour = true;
        }
    }
    EXPECT_TRUE(sawTwoRobors);
    EXPECT_TRUE(sawOneCostTwo);
    EXPECT_TRUE(sawRooAtFour);
}

TEST(WaveComposition, CostsAddUpToTheWaveNumberAndBodiesMatchTheirRobots) {
    Canvas canvas;
    std::vector<Spawn> spawns;
    spawns.emplace_back(100, 100, 75, 75, 2);
    std::srand(7);
    int kindsSeen[State::numberOfEnemies] = {0, 0, 0, 0, 0};
    for (int budget = 1; budget <= 30; ++budget) {
        SCOPED_TRACE(budget);
        const Wave wave(budget, &spawns);
        EXPECT_EQ(totalDifficulty(wave.robots), budget);
        ASSERT_EQ(wave.bodies.size(), wave.robots.size());
        for (std::size_t i = 0; i < wave.robots.size(); ++i) {
            const Enemy& robot = *wave.robots[i];
            Entity& body = *wave.bodies[i];
            EXPECT_EQ(robot.getEntity(), &body);
            EXPECT_EQ(body.getHP(), enemyHealth(robot.getType()));
            EXPECT_EQ(body.getRect().w, robot.getWidth());
            EXPECT_EQ(body.spawns, &spawns);
            EXPECT_EQ(body.getRenderer(), gameRenderer);
            EXPECT_FALSE(body.isSpawned());
            ++kindsSeen[robot.getType()];
        }
    }
    for (int kind = 0; kind < State::numberOfEnemies; ++kind) EXPECT_GT(kindsSeen[kind], 0) << kind;

    // Appends to what the vectors already hold; no budget, no robots.
    Wave wave(3);
    getWaveEnemyEntities(2, nullptr, wave.bodies, wave.robots);
    EXPECT_EQ(totalDifficulty(wave.robots), 5);
    EXPECT_EQ(wave.bodies.size(), wave.robots.size());
    EXPECT_TRUE(Wave(0).robots.empty());
    EXPECT_TRUE(Wave(-3).bodies.empty());
}

TEST(WaveSets, FiveWavesAtATimeWithTheirCountsByKind) {
    Canvas canvas;
    std::vector<Spawn> spawns;
    std::vector<std::vector<std::unique_ptr<Entity>>> waveSetEEnemies;
    std::vector<std::vector<std::unique_ptr<Enemy>>> waveSetEnemies;
    std::srand(11);
    composeWaveSet(1, &spawns, waveSetEEnemies, waveSetEnemies, state);
    std::srand(3);
    composeWaveSet(6, &spawns, waveSetEEnemies, waveSetEnemies, state);

    ASSERT_EQ(waveSetEnemies.size(), 5u);  // the first block is gone, not kept beside the new one
    ASSERT_EQ(waveSetEEnemies.size(), 5u);
    int counted[State::numberOfEnemies] = {0, 0, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(totalDifficulty(waveSetEnemies[i]), 6 + i);
        ASSERT_EQ(waveSetEEnemies[i].size(), waveSetEnemies[i].size());
        for (std::size_t k = 0; k < waveSetEnemies[i].size(); ++k) {
            EXPECT_EQ(waveSetEnemies[i][k]->getEntity(), waveSetEEnemies[i][k].get());
            ++counted[waveSetEnemies[i][k]->getType()];
        }
    }
    int weighted = 0;
    for (int kind = 0; kind < State::numberOfEnemies; ++kind) {
        EXPECT_EQ(state.setEnemies[kind], counted[kind]) << kind;
        weighted += state.setEnemies[kind] * enemyDifficulty(static_cast<ENEMY_TYPE>(kind));
    }
    EXPECT_EQ(weighted, 6 + 7 + 8 + 9 + 10);

    waveSetEnemies.clear();
    countWaveSetEnemies(waveSetEnemies, state);
    for (int count : state.setEnemies) EXPECT_EQ(count, 0);
}

TEST(WaveSets, WaveNumbersMapToTheirPlaceInTheBlock) {
    EXPECT_EQ(waveSetLocation(1), 0);
    EXPECT_EQ(waveSetLocation(5), 4);
    EXPECT_EQ(waveSetLocation(6), 0);
    EXPECT_EQ(waveSetLocation(13), 2);
    EXPECT_TRUE(startsWaveSet(1));
    EXPECT_FALSE(startsWaveSet(2));
    EXPECT_TRUE(startsWaveSet(11));
    EXPECT_TRUE(startsWaveSet(31));
    EXPECT_FALSE(startsWaveSet(30));
}

TEST(WaveSets, CharacterListIsTheWavesBodiesThenTheHero) {
    std::vector<std::unique_ptr<Entity>> bodies;
    bodies.push_back(std::make_unique<Entity>());
    bodies.push_back(std::make_unique<Entity>());
    Entity hero;
    Entity stale;
    std::list<Entity*> all{&stale};
    collectCharacterEntities(bodies, &hero, all);
    const std::list<Entity*> expected{bodies[0].get(), bodies[1].get(), &hero};
    EXPECT_EQ(all, expected);
}

TEST(SpawnBookkeeping, OnScreenOnlyWhenWhollyInsideTheWindow) {
    std::vector<Spawn> spawns;
    spawns.emplace_back(1, 645, 75, 75, 2);     // x 1, bottom 720: inside
    spawns.emplace_back(0, 100, 75, 75, 2);     // touching the left side
    spawns.emplace_back(100, 646, 75, 75, 2);   // bottom at 721
    spawns.emplace_back(100, -1, 75, 75, 2);    // top above the window
    spawns.emplace_back(1199, 0, 75, 75, 2);    // the left edge inside is enough
    spawns.emplace_back(1200, 100, 75, 75, 2);  // right of the window
    spawns[0].setOnScreen(false);
    checkIfSpawnsAreOnScreen(spawns);
    EXPECT_TRUE(spawns[0].isOnScreen());
    EXPECT_FALSE(spawns[1].isOnScreen());
    EXPECT_FALSE(spawns[2].isOnScreen());
    EXPECT_FALSE(spawns[3].isOnScreen());
    EXPECT_TRUE(spawns[4].isOnScreen());
    EXPECT_FALSE(spawns[5].isOnScreen());

    // Recomputed every frame: scrolling a point back in brings it back.
    spawns[3].setPosition(100, 0);
    checkIfSpawnsAreOnScreen(spawns);
    EXPECT_TRUE(spawns[3].isOnScreen());
}

TEST(SpawnBookkeeping, OccupiedWhileAnyBodyTouchesIt) {
    std::vector<Spawn> enemySpawns;
    enemySpawns.emplace_back(100, 100, 75, 75, 2);  // x 100..175, y 100..175
    enemySpawns.emplace_back(400, 100, 75, 75, 2);
    enemySpawns.emplace_back(700, 100, 75, 75, 2);
    Spawn heroSpawn(900, 100, 75, 90, 1);
    std::vector<Spawn*> allSpawns{&enemySpawns[0], &enemySpawns[1], &enemySpawns[2], &heroSpawn};
    for (Spawn* point : allSpawns) point->setOccupied(true);

    Entity touching;  // left edge on the first point's right edge
    touching.setDimensions(36, 75);
    touching.setPosition(175, 120);
    Entity apart;  // one pixel clear of the second point
    apart.setDimensions(36, 75);
    apart.setPosition(476, 100);
    Entity dead;  // never spawned, dead, still standing on the third point
    dead.setDimensions(36, 75);
    dead.setPosition(720, 110);
    dead.damage(1);
    Entity hero;
    hero.setDimensions(75, 90);
    hero.setPosition(-1000, -1000);

    std::list<Entity*> characters{&touching, &apart, &dead, &hero};
    checkIfSpawnsOccupied(allSpawns, characters);
    EXPECT_TRUE(enemySpawns[0].getOccupied());
    EXPECT_FALSE(enemySpawns[1].getOccupied());
    EXPECT_TRUE(enemySpawns[2].getOccupied());
    EXPECT_FALSE(heroSpawn.getOccupied());

    hero.setPosition(900, 100);
    touching.setPosition(176, 120);
    checkIfSpawnsOccupied(allSpawns, characters);
    EXPECT_FALSE(enemySpawns[0].getOccupied());
    EXPECT_TRUE(heroSpawn.getOccupied());

    std::list<Entity*> nobody;
    checkIfSpawnsOccupied(allSpawns, nobody);
    for (Spawn* point : allSpawns) EXPECT_FALSE(point->getOccupied());
}
