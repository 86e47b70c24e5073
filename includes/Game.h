#pragma once

#include <SDL.h>

#include "State.h"

class Player;

// Process-wide objects of the game. They live for the whole process.
extern SDL_Window* gameWindow;
extern SDL_Renderer* gameRenderer;
extern SDL_GameController* controller;
// While true, robots do not move (teleport aiming, a developer key).
extern bool pauseEnemy;
// The one hero, set once at start-up.
extern Player* zorbiPointer;
// The whole window: the dimming overlay behind menus.
extern SDL_Rect fullScreenRect;
extern State state;

// Media libraries, window, renderer, controller and audio. False stops the game.
bool init();
// Opens the most recently attached controller (closing one opened before) and
// loads the extra controller mappings.
void loadController();
// Closes the open controller if it is the one that was unplugged.
void controllerRemoved(SDL_JoystickID which);
// Shuts everything down that init opened, in reverse order.
void close();

// Returns the record to the start of a run.
void resetState();
