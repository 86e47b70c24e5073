#pragma once

#include "State.h"

// The item grids of the three upgrade tabs, each built into its empty menu
// after the common frame: prices and values on the tooltips come from the
// upgrade tables and the current price factor.
void initWeaponUpgradeMenu(State& state);
void initAbilityUpgradeMenu(State& state);
void initPlayerUpgradeMenu(State& state);
