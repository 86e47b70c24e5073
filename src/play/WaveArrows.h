#pragma once

// The robot arrows of a playing frame: one toward each robot of the wave out
// of view (see ui/RobotArrows.h for the arrow and where it stands).

#include <SDL.h>

#include <vector>

#include "play/World.h"
#include "ui/RobotArrows.h"

// Adds the arrows for every living, spawned robot of the current wave to out.
void collectRobotArrows(const World& world, const std::vector<SDL_Rect>& keepClear, std::vector<RobotArrow>& out);

// The arrows of a playing frame, clear of the heads-up display of the hero's
// frame and of the strip of control hints while it shows (hintStrip, or
// nullptr); drawn with the game's renderer after the heads-up display.
void renderRobotArrows(const World& world, const Player& hero, bool waveStarted,
                       const SDL_Rect* hintStrip = nullptr);
