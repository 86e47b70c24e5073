#pragma once

// The hero's whole loadout taken from the game and given back to it: what a
// campaign's checkpoint holds (XP, weapons and their levels, the ability,
// the body's upgrades, health and shield, and what later purchases cost).

#include "platform/Records.h"
#include "platform/State.h"
#include "player/Player.h"

Loadout captureLoadout(const State& state, const Player& hero);
// The hero as the loadout says, his weapons fitted at the next wave start.
void restoreLoadout(State& state, Player& hero, const Loadout& loadout);
