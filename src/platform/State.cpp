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

double playerUpgradeValue(const State& state, int upgrade, int column, double unbought) {
    const int level = state.playerLevels[upgrade];
    return level > 0 ? state.playerProperties[upgrade][upgradeRow(level)][column] : unbought;
}

int abilityValue(const State& state, int ability, int column) {
    return state.abilityProperties[ability][upgradeRow(state.abilityLevels[ability])][column];
}

int& weaponLevel(State& state, int weapon) {
    switch (weapon) {
    case 1:
        return state.currentRifleLevel;
    case 2:
        return state.currentShotgunLevel;
    case 3:
        return state.currentKnifeLevel;
    case 4:
        return state.currentLaserPistolLevel;
    default:
        return state.currentRevolverLevel;
    }
}

int weaponLevel(const State& state, int weapon) { return weaponLevel(const_cast<State&>(state), weapon); }
