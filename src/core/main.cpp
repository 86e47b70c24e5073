#include <SDL.h>

#include "Loop.h"

int main(int, char**) { return runGame(); }
