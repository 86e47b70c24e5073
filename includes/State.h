#pragma once

#include <vector>

#include "GlobalConstants.h"

// The screen that input and drawing currently serve.
enum class Menu : int {
    head = 0,
    level = 1,
    settings = 2,
    pause = 3,
    weaponUpgrade = 4,
    abilityUpgrade = 5,
    playerUpgrade = 6,
    notInMenu = 7,
};

// Every field of the game-state record but the weight pointer; copied member-wise.
struct StateFields {
    static const int numberOfEnemies = 5;

    bool quit = false;
    bool teleportSelection = false;
    int teleportCursorX = 0;
    int teleportCursorY = 0;
    int tcVx = 0;
    int tcVy = 0;
    bool tcMovingRight = false;
    bool tcMovingLeft = false;
    bool tcMovingUp = false;
    bool tcMovingDown = false;
    float startSelection = 0;
    bool c4Exploded = false;
    Menu menu = Menu::head;
    bool controllerStickReset = true;
    bool started = false;
    bool developerMode = false;
    bool initialLoad = false;
    int camY = 0;
    int camV = 0;
    int camA = scale(2000);
    int level = 0;
    int levelHeight = 0;
    std::vector<std::vector<int>> levelMap;
    int enemiesAlive = 0;
    bool controller = false;
    bool resetShooting = true;
    int playerTileX = 0;
    int playerTileY = 0;
    int playerX = 0;
    bool c4Placed = false;
    int numberOfWeapons = 5;
    int currentRevolverLevel = 1;
    int currentRifleLevel = 0;
    int currentShotgunLevel = 0;
    int currentKnifeLevel = 0;
    int currentLaserPistolLevel = 0;
    int weapon1 = 0;
    int weapon2 = -1;
    int upgradeIncreaseFactor = 0;
    int numberOfAbilities = 3;
    int abilityLevels[4] = {0, 0, 0, 0};
    int playerLevels[4] = {0, 0, 0, 0};
    int abilitiesKills = 0;
    int numberOfPlayerUpgrades = 4;
    int setEnemies[numberOfEnemies] = {0, 0, 0, 0, 0};
    int standardWeight[numberOfEnemies] = {40, 70, 80, 90, 100};
};

// The one game-state record. Plain data: every module reads and writes it.
struct State : StateFields {
    // The weight row that wave composition uses. It points into the record, so
    // a copy re-aims it at its own standardWeight rather than at the original's.
    int* currentWeight = standardWeight;

    State() = default;
    State(const State& other);
    State& operator=(const State& other);
};
