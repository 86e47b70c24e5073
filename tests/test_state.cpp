#include <memory>
#include <gtest/gtest.h>

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "platform/State.h"
#include "play/Loop.h"

TEST(Constants, ScaleTruncatesTowardZero) {
    EXPECT_EQ(scale(195), 292);
    EXPECT_EQ(scale(75), 112);
    EXPECT_EQ(scale(17), 25);
    EXPECT_EQ(scale(2), 3);
    EXPECT_EQ(scale(-25), -37);  // not -38
    EXPECT_EQ(scale(0), 0);
}

TEST(Constants, GeometryOfTheWindowAndTiles) {
    EXPECT_EQ(WINDOW_WIDTH, 1200);
    EXPECT_EQ(WINDOW_HEIGHT, 720);
    EXPECT_EQ(TILE_SIZE, 80);
    EXPECT_EQ(TILE_SIZE_SCALED, 120);
    EXPECT_FLOAT_EQ(ACCELERATION, 7500.0f);
    EXPECT_EQ(JOYSTICK_DEAD_ZONE, 18000);
}

TEST(StateRecord, FreshRecordHoldsTheStartOfAGame) {
    const State fresh;
    EXPECT_EQ(fresh.weapon2, -1);
    EXPECT_EQ(fresh.weapon1, 0);
    EXPECT_EQ(fresh.currentRevolverLevel, 1);
    EXPECT_EQ(fresh.currentRifleLevel + fresh.currentShotgunLevel + fresh.currentKnifeLevel +
                  fresh.currentLaserPistolLevel,
              0);
    EXPECT_TRUE(fresh.controllerStickReset);
    EXPECT_TRUE(fresh.resetShooting);
    EXPECT_EQ(fresh.camA, 3000);
    EXPECT_EQ(fresh.menu, Menu::head);
    EXPECT_FALSE(fresh.quit || fresh.started || fresh.developerMode || fresh.teleportSelection || fresh.c4Placed ||
                 fresh.controller || fresh.c4Exploded || fresh.initialLoad);
    EXPECT_EQ(fresh.camY, 0);
    EXPECT_EQ(fresh.level, 0);
    EXPECT_EQ(fresh.levelHeight, 0);
    EXPECT_TRUE(fresh.levelMap.empty());
    EXPECT_EQ(fresh.numberOfWeapons, 5);
    EXPECT_EQ(fresh.numberOfAbilities, 3);
    EXPECT_EQ(fresh.numberOfPlayerUpgrades, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(fresh.abilityLevels[i], 0);
        EXPECT_EQ(fresh.playerLevels[i], 0);
    }
    const int weights[] = {40, 70, 80, 90, 100};
    for (int i = 0; i < State::numberOfEnemies; ++i) {
        EXPECT_EQ(fresh.standardWeight[i], weights[i]);
        EXPECT_EQ(fresh.setEnemies[i], 0);
    }
    EXPECT_EQ(fresh.currentWeight, fresh.standardWeight);
}

TEST(StateRecord, CopyIsDeepAndOwnsItsWeightRow) {
    auto original = std::make_unique<State>();
    original->levelMap = {{0, 1, 2}, {-1, -1, 0}};
    State copy(*original);
    original->levelMap[0][0] = 7;
    original.reset();  // the copy must not depend on the original any more
    EXPECT_EQ(copy.levelMap[0][0], 0);
    EXPECT_EQ(copy.levelMap[1][2], 0);
    EXPECT_EQ(copy.currentWeight, copy.standardWeight);
    EXPECT_EQ(copy.currentWeight[4], 100);

    State assigned;
    assigned = copy;
    EXPECT_EQ(assigned.currentWeight, assigned.standardWeight);
    EXPECT_EQ(assigned.levelMap, copy.levelMap);
}

TEST(StateRecord, ResetReturnsToTheStartOfARunButKeepsSettings) {
    const State saved = state;
    state.developerMode = true;
    state.level = 3;
    state.currentRevolverLevel = 4;
    state.currentRifleLevel = 2;
    state.currentLaserPistolLevel = 5;
    state.upgradeIncreaseFactor = 90;
    state.abilityLevels[2] = 3;
    state.playerLevels[1] = 5;
    state.setEnemies[0] = 12;
    state.weapon1 = 3;
    state.weapon2 = 1;
    state.c4Placed = true;
    state.abilitiesKills = 4;

    resetState();

    EXPECT_TRUE(state.developerMode);
    EXPECT_EQ(state.level, 3);
    EXPECT_EQ(state.currentRevolverLevel, 1);
    EXPECT_EQ(state.currentRifleLevel, 0);
    EXPECT_EQ(state.currentLaserPistolLevel, 0);
    EXPECT_EQ(state.upgradeIncreaseFactor, 0);
    EXPECT_EQ(state.abilityLevels[2], 0);
    EXPECT_EQ(state.playerLevels[1], 0);
    EXPECT_EQ(state.setEnemies[0], 0);
    EXPECT_FALSE(state.c4Placed);
    state = saved;
}
