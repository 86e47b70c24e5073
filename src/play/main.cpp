#include <SDL.h>

#include "play/Loop.h"

int main(int argc, char** argv) { return gameMain(argc, argv); }
