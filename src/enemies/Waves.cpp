#include "enemies/Waves.h"

#include <cstdlib>
#include <utility>

#include "enemies/Robor.h"
#include "enemies/Roborto.h"
#include "enemies/Robro.h"
#include "enemies/Romo.h"
#include "enemies/Roo.h"
#include "platform/Game.h"

int enemyTypeForDraw(int draw, const int* weights) {
    for (int kind = 0; kind < State::numberOfEnemies; ++kind) {
        if (draw <= weights[kind]) return kind;
    }
    return -1;
}

int enemyDifficulty(ENEMY_TYPE type) {
    switch (type) {
        case robor: return Robor::difficulty;
        case roborto: return Roborto::difficulty;
        case robro: return Robro::difficulty;
        case romo: return Romo::difficulty;
        case roo: return Roo::difficulty;
    }
    return Robor::difficulty;
}

int enemyHealth(ENEMY_TYPE type) {
    switch (type) {
        case robor: return Robor::health;
        case roborto: return Roborto::health;
        case robro: return Robro::health;
        case romo: return Romo::health;
        case roo: return Roo::health;
    }
    return Robor::health;
}

std::unique_ptr<Enemy> makeEnemy(ENEMY_TYPE type, Entity* body) {
    switch (type) {
        case roborto: return std::make_unique<Roborto>(body);
        case robro: return std::make_unique<Robro>(body);
        case romo: return std::make_unique<Romo>(body);
        case roo: return std::make_unique<Roo>(body);
        case robor: break;
    }
    return std::make_unique<Robor>(body);
}

void getWaveEnemyEntities(int waveNumber, std::vector<Spawn>* spawns, std::vector<std::unique_ptr<Entity>>& entities,
                          std::vector<std::unique_ptr<Enemy>>& enemies) {
    int totalDifficulty = 0;
    while (totalDifficulty < waveNumber) {
        const int enemyType = std::rand() % 100 + 1;
        const int kind = enemyTypeForDraw(enemyType, state.currentWeight);
        if (kind < 0) continue;
        const ENEMY_TYPE type = static_cast<ENEMY_TYPE>(kind);
        // Late in a wave the costly kinds stop fitting and cheaper ones fill the rest.
        if (totalDifficulty + enemyDifficulty(type) > waveNumber) continue;

        totalDifficulty += enemyDifficulty(type);
        entities.push_back(std::make_unique<Entity>(spawns, gameRenderer, enemyHealth(type)));
        enemies.push_back(makeEnemy(type, entities.back().get()));
    }
}

int waveSetLocation(int waveNumber) { return (waveNumber - 1) % WAVES_PER_SET; }

bool startsWaveSet(int waveNumber) { return waveSetLocation(waveNumber) == 0; }

void composeWaveSet(int firstWaveNumber, std::vector<Spawn>* spawns,
                    std::vector<std::vector<std::unique_ptr<Entity>>>& waveSetEEnemies,
                    std::vector<std::vector<std::unique_ptr<Enemy>>>& waveSetEnemies, State& game) {
    // Robots go before the bodies they point at.
    waveSetEnemies.clear();
    waveSetEEnemies.clear();
    waveSetEnemies.reserve(WAVES_PER_SET);
    waveSetEEnemies.reserve(WAVES_PER_SET);
    for (int i = 0; i < WAVES_PER_SET; ++i) {
        std::vector<std::unique_ptr<Entity>> bodies;
        std::vector<std::unique_ptr<Enemy>> robots;
        getWaveEnemyEntities(firstWaveNumber + i, spawns, bodies, robots);
        waveSetEEnemies.push_back(std::move(bodies));
        waveSetEnemies.push_back(std::move(robots));
    }
    countWaveSetEnemies(waveSetEnemies, game);
}

void countWaveSetEnemies(const std::vector<std::vector<std::unique_ptr<Enemy>>>& waveSetEnemies, State& game) {
    for (int& count : game.setEnemies) count = 0;
    for (const auto& wave : waveSetEnemies) {
        for (const auto& enemy : wave) ++game.setEnemies[enemy->getType()];
    }
}

void collectCharacterEntities(const std::vector<std::unique_ptr<Entity>>& waveBodies, Entity* heroBody,
                              std::list<Entity*>& allCharacterEntities) {
    allCharacterEntities.clear();
    for (const auto& body : waveBodies) allCharacterEntities.push_back(body.get());
    if (heroBody != nullptr) allCharacterEntities.push_back(heroBody);
}

void checkIfSpawnsAreOnScreen(std::vector<Spawn>& enemySpawns) {
    for (Spawn& point : enemySpawns) {
        const SDL_Rect& r = point.getRect();
        point.setOnScreen(r.x > 0 && r.x < WINDOW_WIDTH && r.y >= 0 && r.y + r.h <= WINDOW_HEIGHT);
    }
}

void checkIfSpawnsOccupied(const std::vector<Spawn*>& allSpawns, const std::list<Entity*>& allCharacterEntities) {
    for (Spawn* point : allSpawns) {
        point->setOccupied(false);
        for (const Entity* body : allCharacterEntities) {
            if (Entity::isColliding(point->getRect(), body->getRect())) {
                point->setOccupied(true);
                break;
            }
        }
    }
}
