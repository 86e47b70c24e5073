#pragma once

// Input during play: keys, controller and window events turned into the hero's moves.

#include <SDL.h>

#include "platform/State.h"
#include "play/World.h"

// Events every screen handles the same way: closing the window, a controller
// plugged in or pulled out, and the fullscreen keys. Returns true when the
// event was one of them.
bool handleCommonEvent(State& state, const SDL_Event& event);

// The window lost the keyboard focus or was minimised: play pauses.
bool leavesWindow(const SDL_Event& event);

// One event during play: driving, turning, firing, reloading, switching
// weapons, the ability, pausing, the teleport aim and the developer keys.
void handlePlayEvent(State& state, RunObjects& run, World& world, const SDL_Event& event);

// Play resumes (after the pause screen or the shop): the hero's drive, the
// teleport cursor's direction and the fire key's state are taken from the keys
// and sticks as they are held now, not as they were before. keys is SDL's
// keyboard state (SDL_GetKeyboardState), or null for nothing held.
void takeHeldInput(State& state, RunObjects& run, World& world, const Uint8* keys);

// Handles every pending event during play.
void handlePlayEvents(State& state, RunObjects& run, World& world);
