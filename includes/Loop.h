#pragma once

#include "World.h"

// Plays the loaded level frame by frame until it is left or the game quits.
void playLevel(RunObjects& run, World& world);

// The whole game after a successful init: the level loop until quit.
void runLevels(RunObjects& run);

// The entry function's work: init, the run, shutdown. Returns the exit status.
int runGame();
