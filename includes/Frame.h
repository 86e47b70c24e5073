#pragma once

// One frame of play, drawn in the game's order, and the pieces of it other screens reuse.

#include <SDL.h>

#include "World.h"

// Clears the window and draws the backdrop: background picture and grey veil.
void renderBackdrop(const RunObjects& run);

// Draws every spawn point: outlined by occupancy in developer mode, a
// translucent patch otherwise.
void renderSpawns(const std::vector<Spawn*>& allSpawns, bool developerMode);

// Draws each running explosion and advances it; finished ones are removed.
void updateExplosions(std::list<Explosion>& explosions);

// Draws the level as it stands, moving nothing: spawn points, bullets, the
// wave's robots and the platforms (the world behind the upgrade menus).
void renderWorldStill(const State& game, RunObjects& run, World& world);

// One playing frame: advances the world by dt and draws it, in the game's draw
// order. `now` is the tick count (ms) of this frame. Does not present.
void runFrame(State& game, RunObjects& run, World& world, float dt, Uint32 now);
