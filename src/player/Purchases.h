#pragma once

#include <string>

#include "platform/State.h"

class Player;

// The rules of the upgrade shop: what may be bought, at what price, and what
// buying does to the state record and the hero. Items are indexed as the
// shop's buttons index them (the item in its table, the level row); an index
// outside a table buys nothing. A purchase that fails changes nothing. The
// shop's buttons act through these (UpgradeItems) and then refresh the shop.

// Buy level row of a weapon, an ability or a player upgrade: only the next
// row after the level already bought, and only with enough XP. True when bought.
// A first level bought while the slot it fills is empty goes into it at once:
// a weapon into a free weapon slot, an ability to a hero who has none.
bool buyWeaponLevel(State& state, Player* hero, int item, int row);
bool buyAbilityLevel(State& state, Player* hero, int item, int row);
bool buyPlayerLevel(State& state, Player* hero, int item, int row);

// The shop's three tables (weapons, abilities, the hero's upgrades), and its two refills.
enum class Shelf { weapons, abilities, upgrades, refill };
// True when the click on it bought nothing only for want of XP: the row is the
// next one to buy (any refill is for sale) and its price is more than the XP.
bool tooDear(const State& state, const Player* hero, Shelf shelf, int item, int row);
// Refill health or shield, sold even when the bar is full. True when bought.
bool buyHealthRefill(State& state, Player* hero);
bool buyShieldRefill(State& state, Player* hero);
// Put an owned weapon in a free slot, or take it out of its slot. False when
// the weapon is not owned (or not a weapon): nothing was looked at.
bool toggleWeaponSlot(State& state, int item);
// Make an owned ability the hero's. False when it is not owned.
bool chooseAbility(State& state, Player* hero, int item);

// Every purchase raises every later price by 5.
void purchaseUpgrade(State& state);

// The price of a refill at the current factor.
int refillPrice(const State& state);

// A number as the shop prints it: at most six decimals, no trailing zeros, no
// trailing point. 15.0 gives "15", 2.25 gives "2.25".
std::string removeTrailingZeros(double value);
