#include "player/Purchases.h"

#include <SDL.h>

#include "player/Player.h"

namespace {

const int ITEM_COUNT_WEAPONS = 5;
const int ITEM_COUNT_ABILITIES = 4;
const int ITEM_COUNT_PLAYER = 4;
const int REFILL_BASE_PRICE = 15;

// Table indices come from buttons, but the actions are public: an index outside
// a table buys nothing rather than reading past it.
bool inTable(int item, int items, int row) { return item >= 0 && item < items && row >= 0 && row < UPGRADE_LEVELS; }

int abilityIndex(int attr1) { return attr1 == teleport || attr1 == c4 || attr1 == grenade ? attr1 : bounce; }

int playerUpgradeIndex(int attr1) { return attr1 == shield || attr1 == speed || attr1 == dodge ? attr1 : armor; }

// What every successful purchase does: the XP is paid and later prices rise.
bool pay(State& state, Player* hero, int price) {
    if (hero != nullptr) hero->changeXP(-price);
    purchaseUpgrade(state);
    return true;
}

int xpOf(const Player* hero) { return hero != nullptr ? hero->getXP() : 0; }

// Buys the row when it is the next one and the XP covers the price.
bool buyRow(State& state, Player* hero, int& level, int row, double price) {
    if (static_cast<double>(xpOf(hero)) < price) return false;
    if (level != row) return false;
    level += 1;
    return pay(state, hero, static_cast<int>(price));
}

}  // namespace

int refillPrice(const State& state) { return REFILL_BASE_PRICE + state.upgradeIncreaseFactor; }

bool tooDear(const State& state, const Player* hero, Shelf shelf, int item, int row) {
    const double xp = xpOf(hero);
    const double factor = state.upgradeIncreaseFactor;
    switch (shelf) {
    case Shelf::weapons:
        return inTable(item, ITEM_COUNT_WEAPONS, row) && weaponLevel(state, item) == row &&
               xp < factor + state.weaponProperties[item][row][0];
    case Shelf::abilities:
        return inTable(item, ITEM_COUNT_ABILITIES, row) && state.abilityLevels[abilityIndex(item)] == row &&
               xp < factor + state.abilityProperties[item][row][0];
    case Shelf::upgrades:
        return inTable(item, ITEM_COUNT_PLAYER, row) && state.playerLevels[playerUpgradeIndex(item)] == row &&
               xp < factor + state.playerProperties[item][row][0];
    case Shelf::refill:
        return xp < refillPrice(state);
    }
    return false;
}

void purchaseUpgrade(State& state) { state.upgradeIncreaseFactor += 5; }

bool buyWeaponLevel(State& state, Player* hero, int item, int row) {
    if (!inTable(item, ITEM_COUNT_WEAPONS, row)) return false;
    const double price = state.upgradeIncreaseFactor + state.weaponProperties[item][row][0];
    if (!buyRow(state, hero, weaponLevel(state, item), row, price)) return false;
    // The weapon just bought goes into an empty slot rather than wait for a click on its switch.
    if (row == 0 && item != state.weapon1 && item != state.weapon2) {
        if (state.weapon1 == -1) {
            state.weapon1 = item;
        } else if (state.weapon2 == -1) {
            state.weapon2 = item;
        }
    }
    return true;
}

bool buyAbilityLevel(State& state, Player* hero, int item, int row) {
    if (!inTable(item, ITEM_COUNT_ABILITIES, row)) return false;
    const int price = state.upgradeIncreaseFactor + state.abilityProperties[item][row][0];
    const int ability = abilityIndex(item);
    if (!buyRow(state, hero, state.abilityLevels[ability], row, price)) return false;
    if (row == 0 && hero != nullptr && hero->getAbility() == none) hero->setAbility(static_cast<Ability>(ability));
    return true;
}

bool buyPlayerLevel(State& state, Player* hero, int item, int row) {
    if (!inTable(item, ITEM_COUNT_PLAYER, row)) return false;
    const double price = state.upgradeIncreaseFactor + state.playerProperties[item][row][0];
    return buyRow(state, hero, state.playerLevels[playerUpgradeIndex(item)], row, price);
}

bool buyHealthRefill(State& state, Player* hero) {
    if (hero == nullptr || hero->getXP() < refillPrice(state)) return false;
    hero->fullHealth();
    return pay(state, hero, refillPrice(state));
}

bool buyShieldRefill(State& state, Player* hero) {
    if (hero == nullptr || hero->getXP() < refillPrice(state)) return false;
    hero->fillShield();
    return pay(state, hero, refillPrice(state));
}

bool toggleWeaponSlot(State& state, int item) {
    // A slot holds a weapon kind; anything else would leave the hero unarmed at the next wave.
    if (item < 0 || item >= ITEM_COUNT_WEAPONS) return false;
    if (weaponLevel(state, item) <= 0) return false;
    if (item == state.weapon1) {
        if (state.weapon2 == -1) {
            SDL_Log("Must always have 1 weapon!");
        } else {
            state.weapon1 = state.weapon2;
            state.weapon2 = -1;
        }
    } else if (item == state.weapon2) {
        state.weapon2 = -1;
    } else if (state.weapon1 == -1) {
        state.weapon1 = item;
    } else if (state.weapon2 == -1) {
        state.weapon2 = item;
    } else {
        SDL_Log("No weapon slot free");
    }
    return true;
}

bool chooseAbility(State& state, Player* hero, int item) {
    const int ability = abilityIndex(item);
    if (state.abilityLevels[ability] <= 0) return false;
    if (hero != nullptr) hero->setAbility(static_cast<Ability>(ability));
    return true;
}

std::string removeTrailingZeros(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}
