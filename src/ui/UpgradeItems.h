#pragma once

#include "platform/State.h"
#include "ui/Menu.h"

// The item grids of the three upgrade tabs and the purchases their buttons
// make. Each grid is built into its empty menu after the common frame; prices
// and values on the tooltips come from the upgrade tables and the current
// price factor.

// The frame every tab starts with: "Max HP", "Max Shield", "Close Menu" and the three tabs.
void genericUpgradeMenuLayout(State& state, UI_Menu* menu);

void initWeaponUpgradeMenu(State& state);
void initAbilityUpgradeMenu(State& state);
void initPlayerUpgradeMenu(State& state);

// Rebuilds the three upgrade menus from the current tables, levels and prices.
// The current button, if it was in one of them, stays at the same place.
void resetMenus(State& state);

// The shop's button actions (the item index in attr1, the level row in attr2),
// each a rule of Purchases followed by a refresh of the shop when it bought.
// Buy row attr2 of a weapon, an ability or a player upgrade.
void upgradeWeapon(State& state, int attr1, int attr2);
void upgradeAbility(State& state, int attr1, int attr2);
void upgradePlayer(State& state, int attr1, int attr2);
// Refill health or shield.
void fullHealth(State& state, int attr1, int attr2);
void fullShield(State& state, int attr1, int attr2);
// Put an owned weapon in a free slot or take it out; make an owned ability the hero's.
void selectWeapon(State& state, int attr1, int attr2);
void selectAbility(State& state, int attr1, int attr2);
