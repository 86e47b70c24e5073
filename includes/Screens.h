#pragma once

// The start and pause screens: one frame of a menu shown outside play.

#include "State.h"

// One frame of the start screen: handles every pending event, draws the menu
// and presents. The level loop calls it while no level is started and the game
// has not quit. The main menu, the level select and the Settings screen.
void startScreen();

// One frame of the pause screen, the same with Escape and the controller's B
// button resuming play (from the Settings screen, back to the pause menu).
// The frame loop calls it while the pause menu or its Settings are up.
void pauseScreen();

// Whether the pause screen holds play: the pause menu or the Settings screen
// opened from it is up, in a started game that has not quit.
bool pauseScreenShown(const State& state);
