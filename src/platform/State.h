#pragma once

// The state record every module reads and writes, and the readers of its upgrade tables.

#include <optional>
#include <vector>

#include "platform/GlobalConstants.h"
#include "platform/MenuGate.h"
#include "platform/Records.h"
#include "platform/Settings.h"

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
    // The campaign's screen (Continue, New Campaign, Back), its "Start over?"
    // question, and the card that gives the account of a run.
    campaign = 8,
    startOver = 9,
    card = 10,
    // The Settings screen's page of the keys: both tables.
    controls = 11,
};

// Arcade Mode: one level, waves until the hero falls. Campaign Mode: the three
// levels in order, ten waves each, each level a checkpoint.
enum class PlayMode : int { arcade = 0, campaign = 1 };

// What the card at the end of a run was answered with.
enum class CardChoice : int { none = 0, goOn = 1, toMenu = 2 };

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
    // What may act on the screen on show: keys and buttons held when it
    // opened wait for their release (see MenuGate).
    MenuGate menuGate;
    // The player's settings, as read at start and changed on the Settings screen.
    Settings settings;
    // The screen the Settings screen returns to: the main menu or the pause menu.
    Menu settingsReturn = Menu::head;
    // A music volume was changed on the Settings screen: the music plays there
    // until the screen is left.
    bool musicPreview = false;
    // The mode the level being started is played in.
    PlayMode mode = PlayMode::arcade;
    // The records and the saved campaign, as read at start and kept since.
    Records records;
    std::optional<CampaignSave> campaign;
    // The campaign to start: at its checkpoint (Continue), or anew.
    bool continueCampaign = false;
    CardChoice cardChoice = CardChoice::none;
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

    // The upgrade tables: one block per item, one row per level (row L - 1 for
    // a bought level L), column 0 the price in XP, then the item's values.
    //
    // Weapons, by Weapon_Type. Revolver and rifle: clip size, reload seconds,
    // bullet durability, damage, strength. Shotgun: the same but the last
    // column is the number of bullets per shot. Knife: damage. Laser pistol:
    // cool fire rate (s), heat buffer, cool-off time (s).
    double weaponProperties[5][5][6] = {
        {{10, 4, 3, 1, 1, 1}, {20, 5, 3, 1, 1, 1}, {30, 6, 2, 2, 1, 1}, {40, 7, 2, 2, 2, 1}, {50, 8, 1, 2, 2, 1}},
        {{10, 2, 3, 1, 1, 1}, {20, 2, 3, 2, 2, 2}, {30, 3, 2, 2, 3, 2}, {40, 3, 2, 2, 4, 3}, {50, 4, 2, 2, 5, 3}},
        {{10, 1, 3, 1, 1, 3}, {20, 1, 3, 1, 1, 4}, {30, 2, 2, 1, 1, 5}, {40, 2, 2, 1, 1, 6}, {50, 3, 1, 1, 1, 7}},
        {{10, 1, 0, 0, 0, 0}, {20, 1, 0, 0, 0, 0}, {30, 2, 0, 0, 0, 0}, {40, 2, 0, 0, 0, 0}, {50, 3, 0, 0, 0, 0}},
        {{10, 0.5, 2, 3, 0, 0}, {20, 0.5, 3, 3, 0, 0}, {30, 0.4, 4, 2, 0, 0}, {40, 0.4, 5, 2, 0, 0},
         {50, 0.3, 6, 2, 0, 0}},
    };
    // Abilities, by Ability: price, kills needed to recharge, then the teleport's
    // duration (shown only) or the C4 and grenade damage.
    int abilityProperties[4][5][3] = {
        {{10, 10, 0}, {20, 8, 0}, {30, 6, 0}, {40, 4, 0}, {50, 2, 0}},
        {{10, 15, 2}, {20, 12, 2}, {30, 10, 3}, {40, 8, 3}, {50, 5, 3}},
        {{10, 15, 1}, {20, 15, 2}, {30, 12, 3}, {40, 12, 4}, {50, 10, 5}},
        {{10, 5, 1}, {20, 4, 1}, {20, 4, 2}, {40, 3, 2}, {50, 3, 3}},
    };
    // Player upgrades, by PlayerUpgrades: price, then armour (percent off each
    // hit), shield multiplier per kill, speed (percent added), dodge (percent chance).
    double playerProperties[4][5][2] = {
        {{10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}},
        {{10, 1.25}, {20, 1.5}, {30, 1.75}, {40, 2}, {50, 2.5}},
        {{10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}},
        {{10, 1}, {20, 2}, {30, 3}, {40, 4}, {50, 5}},
    };
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

// Reading the upgrade tables and the bought levels: the one home of "level L
// reads row L - 1".

// The number of rows of every upgrade table: one per level.
constexpr int UPGRADE_LEVELS = 5;
// The row a bought level reads: level L reads row L - 1, and an item not
// bought yet (level 0) reads the first row.
int upgradeRow(int boughtLevel);
// Column `column` of the row a bought player upgrade (by PlayerUpgrades)
// reads, or `unbought` while its level is 0.
double playerUpgradeValue(const State& state, int upgrade, int column, double unbought);
// Column `column` of the row an ability (by Ability) reads at its bought level.
int abilityValue(const State& state, int ability, int column);
// The bought level of a weapon (by Weapon_Type): 1 rifle, 2 shotgun, 3 knife,
// 4 laser pistol, anything else the revolver.
int& weaponLevel(State& state, int weapon);
int weaponLevel(const State& state, int weapon);
