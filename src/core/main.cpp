#include <SDL.h>

#include "Loop.h"

int main(int argc, char** argv) { return gameMain(argc, argv); }
