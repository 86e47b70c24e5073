#pragma once

// One frame of play, drawn in the game's order, and the pieces of it other screens reuse.

#include <SDL.h>

#include "play/World.h"

// Draws every spawn point: outlined by occupancy in developer mode, a
// translucent patch otherwise.
void renderSpawns(const std::vector<Spawn*>& allSpawns, bool developerMode);

// Draws each running explosion and advances it; finished ones are removed.
void updateExplosions(std::list<Explosion>& explosions);

// Draws the level as it stands, moving nothing: spawn points, bullets, the
// wave's living robots (flashing white while hit at tick now) and the
// platforms (the world behind the upgrade menus).
void renderWorldStill(const State& game, RunObjects& run, World& world, Uint32 now = 0);

// A whole frame of play standing still at tick now: the world as it is (its
// explosions not moved on), the hero, the flashes and rising words, the
// camera's shake, and over it all the display. A kill's breath, a fall's.
void renderStillFrame(State& game, RunObjects& run, World& world, Uint32 now);

// One playing frame: advances the world by dt and draws it, in the game's draw
// order. `now` is the tick count (ms) of this frame. Does not present. While
// a kill's breath lasts nothing advances: the frame is drawn still and every
// timer that counts ticks moves on with it.
void runFrame(State& game, RunObjects& run, World& world, float dt, Uint32 now);
