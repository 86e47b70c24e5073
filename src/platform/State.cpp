#include "platform/State.h"

#include <algorithm>

static int* weightRowFor(const State& from, State& to) {
    return from.currentWeight == from.standardWeight ? to.standardWeight : from.currentWeight;
}

State::State(const State& other) : StateFields(other), currentWeight(weightRowFor(other, *this)) {}

State& State::operator=(const State& other) {
    if (this != &other) {
        StateFields::operator=(other);
        currentWeight = weightRowFor(other, *this);
    }
    return *this;
}

int upgradeRow(int boughtLevel) { return std::clamp(boughtLevel - 1, 0, UPGRADE_LEVELS - 1); }

double playerUpgradeValue(const State& game, int upgrade, int column, double unbought) {
    const int level = game.playerLevels[upgrade];
    return level > 0 ? game.playerProperties[upgrade][upgradeRow(level)][column] : unbought;
}

int abilityValue(const State& game, int ability, int column) {
    return game.abilityProperties[ability][upgradeRow(game.abilityLevels[ability])][column];
}

int& weaponLevel(State& game, int weapon) {
    switch (weapon) {
    case 1:
        return game.currentRifleLevel;
    case 2:
        return game.currentShotgunLevel;
    case 3:
        return game.currentKnifeLevel;
    case 4:
        return game.currentLaserPistolLevel;
    default:
        return game.currentRevolverLevel;
    }
}

int weaponLevel(const State& game, int weapon) { return weaponLevel(const_cast<State&>(game), weapon); }
