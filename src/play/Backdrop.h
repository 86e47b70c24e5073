#pragma once

// What the world stands in front of: the background picture under its grey
// veil, drawn first in every frame of play.

#include <SDL.h>

#include <vector>

#include "play/World.h"

// Clears the window and draws the backdrop: background picture and grey veil.
void renderBackdrop(const RunObjects& run);
// The same but inside the rectangles of cover (window areas that are drawn
// over opaque later in the frame, such as platformCover's).
void renderBackdrop(const RunObjects& run, const std::vector<SDL_Rect>& cover);

// The backdrop, but where the platforms' opaque rows will be drawn over it
// (platformCover); all of it while the world is shaken by shake, which moves
// them off their places.
void renderBackdropUnderPlatforms(const RunObjects& run, const World& world, SDL_Point shake);
