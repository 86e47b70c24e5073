#include "Purchases.h"

#include <SDL.h>

#include "MenuScreens.h"
#include "Player.h"
#include "UI.h"
#include "UpgradeMenus.h"

namespace {

const int ITEM_COUNT_WEAPONS = 5;
const int ITEM_COUNT_ABILITIES = 4;
const int ITEM_COUNT_PLAYER = 4;
const int LEVEL_ROWS = 5;
const int REFILL_BASE_PRICE = 15;

// Table indices come from buttons, but the actions are public: an index outside
// a table buys nothing rather than reading past it.
bool inTable(int item, int items, int row) { return item >= 0 && item < items && row >= 0 && row < LEVEL_ROWS; }

int abilityIndex(int attr1) { return attr1 == teleport || attr1 == c4 || attr1 == grenade ? attr1 : bounce; }

int playerUpgradeIndex(int attr1) { return attr1 == shield || attr1 == speed || attr1 == dodge ? attr1 : armor; }

// What every successful purchase does after taking the XP.
void afterPurchase(State& state, int price) {
    if (player != nullptr) player->changeXP(-price);
    purchaseUpgrade(state);
    resetMenus(state);
    loadUpgradeMenu(state);
}

int playerXP() { return player != nullptr ? player->getXP() : 0; }

// Buys the row when it is the next one and the XP covers the price.
void buyRow(State& state, int& level, int row, double price) {
    if (static_cast<double>(playerXP()) < price) return;
    if (level != row) return;
    level += 1;
    afterPurchase(state, static_cast<int>(price));
}

}  // namespace

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

int refillPrice(const State& state) { return REFILL_BASE_PRICE + state.upgradeIncreaseFactor; }

void purchaseUpgrade(State& state) { state.upgradeIncreaseFactor += 5; }

void upgradeWeapon(State& state, int attr1, int attr2) {
    if (!inTable(attr1, ITEM_COUNT_WEAPONS, attr2)) return;
    const double price = state.upgradeIncreaseFactor + state.weaponProperties[attr1][attr2][0];
    buyRow(state, weaponLevel(state, attr1), attr2, price);
}

void upgradeAbility(State& state, int attr1, int attr2) {
    if (!inTable(attr1, ITEM_COUNT_ABILITIES, attr2)) return;
    const int price = state.upgradeIncreaseFactor + state.abilityProperties[attr1][attr2][0];
    buyRow(state, state.abilityLevels[abilityIndex(attr1)], attr2, price);
}

void upgradePlayer(State& state, int attr1, int attr2) {
    if (!inTable(attr1, ITEM_COUNT_PLAYER, attr2)) return;
    const double price = state.upgradeIncreaseFactor + state.playerProperties[attr1][attr2][0];
    buyRow(state, state.playerLevels[playerUpgradeIndex(attr1)], attr2, price);
}

void fullHealth(State& state, int, int) {
    if (player == nullptr || player->getXP() < refillPrice(state)) return;
    player->fullHealth();
    afterPurchase(state, refillPrice(state));
}

void fullShield(State& state, int, int) {
    if (player == nullptr || player->getXP() < refillPrice(state)) return;
    player->fillShield();
    afterPurchase(state, refillPrice(state));
}

void selectWeapon(State& state, int attr1, int) {
    // A slot holds a weapon kind; anything else would leave the hero unarmed at the next wave.
    if (attr1 < 0 || attr1 >= ITEM_COUNT_WEAPONS) return;
    if (weaponLevel(state, attr1) <= 0) return;
    if (attr1 == state.weapon1) {
        if (state.weapon2 == -1) {
            SDL_Log("Must always have 1 weapon!");
        } else {
            state.weapon1 = state.weapon2;
            state.weapon2 = -1;
        }
    } else if (attr1 == state.weapon2) {
        state.weapon2 = -1;
    } else if (state.weapon1 == -1) {
        state.weapon1 = attr1;
    } else if (state.weapon2 == -1) {
        state.weapon2 = attr1;
    } else {
        SDL_Log("No weapon slot free");
    }
    loadUpgradeMenu(state);
}

void selectAbility(State& state, int attr1, int) {
    const int ability = abilityIndex(attr1);
    if (state.abilityLevels[ability] <= 0) return;
    if (player != nullptr) player->setAbility(static_cast<Ability>(ability));
    loadUpgradeMenu(state);
}

std::string removeTrailingZeros(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}
