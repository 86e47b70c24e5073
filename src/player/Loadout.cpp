#include "player/Loadout.h"

#include "player/Weapon.h"

Loadout captureLoadout(const State& state, const Player& hero) {
    Loadout loadout;
    loadout.xp = hero.getXP();
    loadout.health = hero.getHealth();
    loadout.shield = hero.getShield();
    for (int weapon = 0; weapon < 5; ++weapon) loadout.weaponLevels[static_cast<std::size_t>(weapon)] = weaponLevel(state, weapon);
    loadout.weapon1 = state.weapon1;
    loadout.weapon2 = state.weapon2;
    loadout.ability = hero.getAbility();
    for (std::size_t i = 0; i < loadout.abilityLevels.size(); ++i) {
        loadout.abilityLevels[i] = state.abilityLevels[i];
        loadout.playerLevels[i] = state.playerLevels[i];
    }
    loadout.charged = hero.isCharged();
    loadout.abilitiesKills = state.abilitiesKills;
    loadout.priceFactor = state.upgradeIncreaseFactor;
    return loadout;
}

void restoreLoadout(State& state, Player& hero, const Loadout& loadout) {
    for (int weapon = 0; weapon < 5; ++weapon) weaponLevel(state, weapon) = loadout.weaponLevels[static_cast<std::size_t>(weapon)];
    state.weapon1 = loadout.weapon1;
    state.weapon2 = loadout.weapon2;
    for (std::size_t i = 0; i < loadout.abilityLevels.size(); ++i) {
        state.abilityLevels[i] = loadout.abilityLevels[i];
        state.playerLevels[i] = loadout.playerLevels[i];
    }
    state.abilitiesKills = loadout.abilitiesKills;
    state.upgradeIncreaseFactor = loadout.priceFactor;
    state.c4Placed = false;
    hero.setAbility(loadout.ability >= bounce && loadout.ability <= grenade ? static_cast<Ability>(loadout.ability) : none);
    hero.restore(loadout.health, loadout.shield, loadout.xp, loadout.charged);
}
