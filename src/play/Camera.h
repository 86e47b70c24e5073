#pragma once

// The camera: when the view scrolls with the hero, the scroll step over every body,
// platform and spawn point, and the drawing of the platforms.

#include <SDL.h>

#include <list>
#include <vector>

#include "platform/State.h"
#include "world/Entity.h"
#include "world/Platform.h"
#include "world/Spawn.h"

// The lowest the view may scroll: the last level row at the bottom of the window.
int cameraFloor(const State& state);

// Whether the view follows the hero this frame: he is low in the window with
// level left below, or above the window with level left above.
bool cameraShouldMove(const State& state, const SDL_Rect& heroRect);

// Scrolls the view toward the hero by moving every level object vertically and
// adding the shift to state.camY. The hero is reached through zorbiPointer.
void moveCamera(State& game, std::list<Entity*>& allCharacterEntities, std::list<Platform*>& platforms,
                std::vector<Spawn*>& allSpawns, float dt);

// Draws every platform, outlined in blue in developer mode.
void renderPlatforms(const std::list<Platform*>& platforms, bool developerMode);

// The parts of the window that renderPlatforms paints opaque (its rows drawn
// from a strip), as it would paint them now; what lies under them never shows.
void platformCover(const std::list<Platform*>& platforms, std::vector<SDL_Rect>& cover);
