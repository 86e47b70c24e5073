#pragma once

#include <SDL.h>

#include "State.h"

// Events every screen handles the same way: closing the window, and a
// controller plugged in or pulled out. Returns true when the event was one of them.
bool handleCommonEvent(State& state, const SDL_Event& event);

// Handles every pending event during play.
void handlePlayEvents(State& state);
