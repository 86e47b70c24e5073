#pragma once

#include <string>

#include "State.h"

// Upgrade-shop actions (button action signature: the item index in attr1, the
// level row in attr2). A purchase that fails changes nothing.

// Buy row attr2 of a weapon, an ability or a player upgrade: only the next row
// after the level already bought, and only with enough XP.
void upgradeWeapon(State& state, int attr1, int attr2);
void upgradeAbility(State& state, int attr1, int attr2);
void upgradePlayer(State& state, int attr1, int attr2);
// Refill health or shield, sold even when the bar is full.
void fullHealth(State& state, int attr1, int attr2);
void fullShield(State& state, int attr1, int attr2);
// Put an owned weapon in a free slot, or take it out of its slot.
void selectWeapon(State& state, int attr1, int attr2);
// Make an owned ability the hero's.
void selectAbility(State& state, int attr1, int attr2);

// Every purchase raises every later price by 5.
void purchaseUpgrade(State& state);

// The bought level of a weapon: 1 rifle, 2 shotgun, 3 knife, 4 laser pistol,
// anything else the revolver.
int& weaponLevel(State& state, int weapon);

// The price of a refill at the current factor.
int refillPrice(const State& state);

// A number as the shop prints it: at most six decimals, no trailing zeros, no
// trailing point. 15.0 gives "15", 2.25 gives "2.25".
std::string removeTrailingZeros(double value);
