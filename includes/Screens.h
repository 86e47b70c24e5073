#pragma once

// The start and pause screens: one frame of a menu shown outside play.

// One frame of the start screen: handles every pending event, draws the menu
// and presents. The level loop calls it while no level is started and the game
// has not quit.
void startScreen();

// One frame of the pause screen, the same with Escape and the controller's B
// button resuming play. The frame loop calls it while the pause menu is up.
void pauseScreen();
