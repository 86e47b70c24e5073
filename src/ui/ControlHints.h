#pragma once

// The keys of play, for the keyboard and for the controller: the strip that
// teaches them along the bottom of a run's first two waves, and the Controls
// page of the Settings screen with both tables.

#include <SDL.h>

#include <string>

#include "platform/State.h"
#include "ui/Menus.h"

// The keyboard's line of the strip.
extern const char* const KEYBOARD_HINTS;

// How long the strip takes to fade at the start of wave 3, in ms.
const Uint32 HINTS_FADE_MS = 1000;
// The strip's opacity in a run's wave at tick now (the wave's frames began at
// waveStart): whole in waves 1 and 2, fading over the first second of wave 3,
// then gone.
float hintsOpacity(int wave, Uint32 waveStart, Uint32 now);

// The strip's band: along the bottom between the display's two corners,
// clear of them by a margin.
SDL_Rect hintsBand(const SDL_Rect& leftCorner, const SDL_Rect& rightCorner);
// Draws the strip in the band: a dark translucent band, and over it the
// keyboard's keys or, while a controller is in use, its buttons' pictures.
void renderControlHints(const SDL_Rect& band, bool controller, float opacity);

// The Controls page: both tables and "Back" (to the Settings screen).
void openControls(State& state, int, int);
void closeControls(State& state, int, int);
// Escape and B go back. True when the event was one of these.
bool handleControlsEvent(State& state, const SDL_Event& event);
void renderControlsPage();

// The pictures and texts of both (once, from initMenus), and their release.
void initControlHints(State& state);
void releaseControlHints();
